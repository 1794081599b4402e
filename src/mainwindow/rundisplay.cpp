#include "mainwindow/rundisplay.h"

#include "mainwindow/textbox.h"
#include "shared/dialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

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

void RunDisplay::appendResult(const QString &text)
{
    c_.T2->appendText(text);
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
}

// Qt repaints the bar only when the value has moved it by a whole chunk of
// the style, which for a smooth bar skips values that moved it by a pixel.
void RunDisplay::setProgressValue(float value)
{
    QProgressBar *bar = c_.Pr;
    // The run's bar starts at 0.
    const auto filled = [bar](int v) {
        return bar->maximum() > 0 ? qint64(v) * bar->width() / bar->maximum() : 0;
    };
    const qint64 before = filled(bar->value());
    bar->setValue(int(value));
    if (filled(bar->value()) != before)
        bar->update();
}

// The status bar would repaint its message at once, on its own; it is painted
// at the next pump instead, with the rest of the step's changes.
void RunDisplay::setStatusText(const QString &text)
{
    c_.Bar->setUpdatesEnabled(false);
    c_.Bar->showMessage(text);
    c_.Bar->setUpdatesEnabled(true);
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
