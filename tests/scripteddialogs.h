#pragma once

#include "shared/dialogs.h"

#include <QStringList>

#include <functional>

// Answers the program's modal boxes from a script instead of a person and
// remembers what was shown.
struct ScriptedDialogs : Dialogs
{
    struct Box
    {
        QString text;
        int style;
        QString title;
    };
    QList<Box> shown;
    QList<int> answers;    // for the next Yes/No questions, in order
    QStringList fileNames; // for the next file dialogs, in order
    bool ended = false;
    std::function<void()> whileShown; // called while a box is up

    int messageBox(QWidget *, const QString &text, int style, const QString &title) override
    {
        shown.append({text, style, title});
        if (whileShown)
            whileShown();
        if (style != MsgBox::YesNo)
            return MsgBox::Ok;
        if (answers.isEmpty())
            qFatal("unexpected question: %s", qPrintable(text));
        return answers.takeFirst();
    }
    QString fileName(QWidget *, const FileDialogRequest &) override
    {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    void endProgram() override { ended = true; }

    QStringList texts() const
    {
        QStringList result;
        for (const Box &box : shown)
            result << box.text;
        return result;
    }
};
