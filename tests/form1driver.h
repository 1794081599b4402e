#pragma once

#include "mainwindow/form1.h"
#include "mainwindow/textbox.h"
#include "scripteddialogs.h"
#include "transform/swapconsonant.h"
#include "typing.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

// Drives the main window as a user would: clicks, typing, menu choices.
struct Form1Driver
{
    ScriptedDialogs dialogs;
    Form1 form{dialogs};

    Form1Driver()
    {
        form.show();
        form.activateWindow();
    }

    template <typename T = QWidget> T *control(const char *name) const
    {
        T *found = form.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    TextBox *T1() const { return control<TextBox>("T1"); }
    TextBox *T2() const { return control<TextBox>("T2"); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    QString caption(const char *label) const { return control<QLabel>(label)->text(); }
    QString status() const { return control<QStatusBar>("Bar")->currentMessage(); }
    int progress() const { return control<QProgressBar>("Pr")->value(); }
    bool busy() const { return !button("Knop")->isEnabled(); }

    void click(const char *buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }

    // Opens the item's menu from the menu bar and clicks the item.
    void choose(const char *itemName)
    {
        auto *item = control<QAction>(itemName);
        QMenu *menu = nullptr;
        for (QAction *entry : form.menuBar()->actions()) {
            if (entry->menu() && entry->menu()->actions().contains(item))
                menu = entry->menu();
        }
        QTest::mouseClick(form.menuBar(), Qt::LeftButton, {},
                          form.menuBar()->actionGeometry(menu->menuAction()).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

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

    // The text as the run turns it.
    static QString swapped(QString text)
    {
        for (QChar &c : text)
            c = SwapConsonant(c);
        return text;
    }

    // What a box shows, with its line breaks written as CR LF.
    static QString shown(const TextBox *box)
    {
        return box->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
};
