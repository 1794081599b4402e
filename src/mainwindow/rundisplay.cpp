#include "mainwindow/rundisplay.h"

#include "shared/dialogs.h"
#include "widgets/countingstatusbar.h"
#include "widgets/frameannouncement.h"
#include "widgets/textbox.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionProgressBar>

const QString &RunDisplay::sourceText() const
{
    return c_.T1->text();
}

const QString &RunDisplay::resultText() const
{
    return c_.T2->text();
}

void RunDisplay::clearResult()
{
    c_.T2->clearText();
}

RunDisplay::RunDisplay(const Controls &controls, Dialogs &dialogs)
    : c_(controls), dialogs_(dialogs), progressAnnouncement_(c_.Pr, [bar = c_.Pr] {
          QAccessibleValueChangeEvent moved(bar, bar->value());
          QAccessible::updateAccessibility(&moved);
      })
{}

// A screen reader hears of the result box's new text when the run ends and
// the box takes in all of it.
void RunDisplay::appendResult(const QString &text)
{
    FrameAnnouncement::quietly([&] { c_.T2->appendText(text); });
}

void RunDisplay::setBoxesLocked(bool locked)
{
    // Before the user may edit the result or select in it, it holds all of it.
    if (!locked)
        c_.T2->showWholeText();
    c_.T1->setLocked(locked);
    c_.T2->setLocked(locked);
}

void RunDisplay::setSizeCaption(const QString &caption)
{
    c_.L->setText(caption);
    c_.L->adjustSize();
}

void RunDisplay::setProgressMaximum(float maximum)
{
    c_.Pr->setMaximum(int(maximum));
    QStyleOptionProgressBar option;
    option.initFrom(c_.Pr);
    option.state |= QStyle::State_Horizontal;
    option.textVisible = c_.Pr->isTextVisible();
    const QRect contents =
        c_.Pr->style()->subElementRect(QStyle::SE_ProgressBarContents, &option, c_.Pr);
    progressLeft_ = contents.left();
    progressWidth_ = contents.width();
}

// The style fills this many pixels of the bar for a value.
qint64 RunDisplay::filledWidth(int value) const
{
    const QProgressBar *bar = c_.Pr;
    const qint64 steps = std::max<qint64>(1, qint64(bar->maximum()) - bar->minimum());
    return (qint64(value) - bar->minimum()) * progressWidth_ / steps;
}

// The bar takes a value only when it moves a pixel or reaches an end, so that
// a screen reader hears it move as it is seen to. Only the pixels it moved
// over are painted again, at the next pump with the rest of the step's
// changes: a whole bar costs more to paint than the rest of a step. Qt would
// repaint the whole bar at once when the value moves it by a chunk of the
// style; at an end it still does, so that the full bar is seen before the run
// empties it.
void RunDisplay::setProgressValue(float value)
{
    QProgressBar *bar = c_.Pr;
    const int v = int(value);
    const int old = bar->value();
    const auto atEnd = [bar](int v) { return v == bar->minimum() || v == bar->maximum(); };
    const qint64 before = filledWidth(old);
    const qint64 after = filledWidth(v);
    if (before == after && !atEnd(v) && !atEnd(old))
        return;
    if (atEnd(v) || atEnd(old) || after < before) {
        progressAnnouncement_.cancel(); // setValue() announces this one at once
        bar->setValue(v);
        bar->update();
        return;
    }
    bar->setAttribute(Qt::WA_UpdatesDisabled);
    progressAnnouncement_.change([&] { bar->setValue(v); });
    bar->setAttribute(Qt::WA_UpdatesDisabled, false);
    // The style shades the filled part's end over a few pixels.
    constexpr int Edge = 3;
    bar->update(int(progressLeft_ + before) - Edge, 0, int(after - before) + 2 * Edge,
                bar->height());
}

// Only the count's digits are painted again, at the next pump.
void RunDisplay::setStatusText(const QString &text)
{
    c_.Bar->showCount(text);
}

// Disabling the focused Knop would hand the focus on to «Сохранить», where a
// second Enter or Space meant for Knop would save. It rests on the locked
// result box instead, where those keys do nothing, and goes back to Knop at
// the end unless the user has moved it. A run started from the menu leaves the
// focus where it was.
void RunDisplay::setCommandEnabled(bool enabled)
{
    if (!enabled) {
        knopHadFocus_ = c_.window->focusWidget() == c_.Knop;
        if (knopHadFocus_)
            c_.T2->setFocus();
    }
    c_.Knop->setEnabled(enabled);
    c_.MnKod->setEnabled(enabled);
    if (enabled && knopHadFocus_ && c_.window->focusWidget() == c_.T2)
        c_.Knop->setFocus();
}

int RunDisplay::showNotice(const QString &text, int style, const QString &title)
{
    return dialogs_.messageBox(c_.window, text, style, title);
}

// Here Qt paints what the last step changed and runs the user's commands.
bool RunDisplay::pumpEvents()
{
    QCoreApplication::processEvents();
    return !ended_;
}

void sendWindowPixelsOverTheConnection()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

// Qt takes an empty QT_QPA_PLATFORM as unset. Wayland stays second, for a
// session whose X server cannot be reached.
void showWindowThroughXWaylandWhereOffered()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}
