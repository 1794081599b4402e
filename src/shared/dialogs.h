#pragma once

#include "shared/msgbox.h"

#include <QString>

class QWidget;

// What the file dialog is asked to show: filter in "description|pattern" form
// and the open-file-name flags of the window system.
struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString filter;
    int flags = 0;
};

namespace FileDialogFlags {
constexpr int OverwritePrompt = 0x2;
constexpr int HideReadOnly = 0x4;
constexpr int FileMustExist = 0x1000;
} // namespace FileDialogFlags

// Every modal box the program shows, and ending the program, go through here.
// The program uses this class as it is; tests derive from it to answer the
// boxes themselves.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Shows a message box and returns the answer code (MsgBox::Ok, Yes or No).
    virtual int messageBox(QWidget *parent, const QString &text, int style, const QString &title);

    // Shows the open or save dialog; returns the chosen path, or an empty
    // text when the user cancelled.
    virtual QString fileName(QWidget *parent, const FileDialogRequest &request);

    // Ends the program at once.
    virtual void endProgram();
};
