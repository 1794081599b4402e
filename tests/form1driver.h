#pragma once

#include "mainwindow/form1.h"
#include "scripteddialogs.h"
#include "transform/swapconsonant.h"
#include "widgets/textbox.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <functional>

// Types text one key at a time; QTest's own typing knows only ASCII.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), {});
        i += length - 1;
    }
}

// Calls `see` at every event pump while it lives: a posted event that posts
// itself again arrives once per pump.
struct PumpWatch : QObject
{
    std::function<void()> see;
    explicit PumpWatch(std::function<void()> f) : see(std::move(f)) { post(); }
    void post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    void customEvent(QEvent *) override { see(), post(); }
};

// Drives the main window as a user would: clicks, typing, menu choices.
struct Form1Driver
{
    ScriptedDialogs dialogs;
    Form1 form{dialogs};

    Form1Driver() { form.show(), form.activateWindow(); }

    template <typename T = QWidget> T *control(const char *name) const
    {
        if (T *found = form.findChild<T *>(QLatin1String(name)))
            return found;
        qFatal("no control %s", name);
    }
    TextBox *T1() const { return control<TextBox>("T1"); }
    TextBox *T2() const { return control<TextBox>("T2"); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    QString caption(const char *label) const { return control<QLabel>(label)->text(); }
    QString status() const { return control<QStatusBar>("Bar")->currentMessage(); }
    int progress() const { return control<QProgressBar>("Pr")->value(); }
    // The boxes' texts, the size caption, the count and the progress value.
    QStringList shownState() const
    {
        return {T1()->text(), T2()->text(), caption("L"), status(), QString::number(progress())};
    }

    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Opens the item's menu from the menu bar and clicks the item.
    void choose(const char *itemName)
    {
        auto *item = control<QAction>(itemName);
        for (QAction *entry : form.menuBar()->actions()) {
            if (QMenu *menu = entry->menu(); menu && menu->actions().contains(item)) {
                QTest::mouseClick(form.menuBar(), Qt::LeftButton, {},
                                  form.menuBar()->actionGeometry(entry).center());
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            }
        }
    }
    // Types text with its CR LF line breaks as Return keys.
    void type(TextBox *box, const QString &text)
    {
        box->setFocus();
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box, Qt::Key_Return);
            typeText(box, lines[i]);
        }
    }
    // Does `action` once the next run has appended `count` characters: the run
    // handles pending events once before each character, and a queued call
    // queued again from itself waits for the next time.
    void after(qsizetype count, const std::function<void()> &action)
    {
        QMetaObject::invokeMethod(
            &form, [=, this] { count > 0 ? after(count - 1, action) : action(); },
            Qt::QueuedConnection);
    }

    static QString swapped(QString text)
    {
        for (QChar &c : text)
            c = SwapConsonant(c);
        return text;
    }
    // What a box shows, with its line breaks written as CR LF.
    static QString shown(const TextBox *box)
    {
        return box->document()->toRawText().replace(QChar::ParagraphSeparator,
                                                    QStringLiteral("\r\n"));
    }
};
