#pragma once

#include <QString>

class QWidget;

// Message-box styles and answers, with the window system's values.
namespace MsgBox {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Exclamation = 48;
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBox

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
