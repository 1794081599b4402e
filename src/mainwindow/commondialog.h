#pragma once

#include <QString>

class Dialogs;
class QWidget;

// The one file dialog of the main window, used for opening and for saving.
// The commands set its flags before showing it and read back the chosen
// name, which is empty after a cancel.
class CommonDialog
{
public:
    CommonDialog(Dialogs &dialogs, QWidget *parent) : dialogs_(dialogs), parent_(parent) {}

    QString Filter = QStringLiteral("Текстовые файлы(*.txt)|*.txt");
    int Flags = 0;
    QString FileName;

    void ShowOpen();
    void ShowSave();

private:
    Dialogs &dialogs_;
    QWidget *parent_;
};
