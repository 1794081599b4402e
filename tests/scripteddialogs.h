#pragma once

#include "shared/dialogs.h"

#include <QCoreApplication>
#include <QEvent>
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
    QList<FileDialogRequest> fileRequests;
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
    QString fileName(QWidget *, const FileDialogRequest &request) override
    {
        fileRequests.append(request);
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

// Does an action once the run has appended `count` characters: the run pumps
// events once before each character, and this is delivered once per pump.
class AfterCharacters : public QObject
{
public:
    AfterCharacters(qsizetype count, std::function<void()> action)
        : remaining_(count), action_(std::move(action))
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (remaining_-- == 0)
            action_();
        else
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

private:
    qsizetype remaining_;
    std::function<void()> action_;
};
