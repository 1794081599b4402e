#pragma once

#include "shared/dialogs.h"

#include <QString>

class QWidget;

// The one file dialog of the main window, used for opening and for saving.
// The commands set its flags before showing it; showing it returns the
// chosen name, which is empty after a cancel.
class CommonDialog
{
public:
    CommonDialog(Dialogs &dialogs, QWidget *parent) : dialogs_(dialogs), parent_(parent) {}

    QString Filter = QStringLiteral("Текстовые файлы(*.txt)|*.txt");
    int Flags = 0;

    QString ShowOpen() { return show(FileDialogRequest::Mode::Open); }
    QString ShowSave() { return show(FileDialogRequest::Mode::Save); }

private:
    QString show(FileDialogRequest::Mode mode)
    {
        return dialogs_.fileName(parent_, {mode, Filter, Flags});
    }

    Dialogs &dialogs_;
    QWidget *parent_;
};
