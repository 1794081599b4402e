#pragma once

#include "shared/dialogs.h"

#include <QFileDialog>

class QLineEdit;

// Qt's own file dialog, which takes a name typed without an extension as
// typed. It takes the name in its name box as the one file meant, where Qt
// would read parts in double quotes as a list of names, and asks its
// questions through the program's boxes.
class FileDialog : public QFileDialog
{
public:
    FileDialog(Dialogs &boxes, QWidget *parent, const FileDialogRequest &request);

    QString chosen() const { return chosen_; }

    void accept() override;

private:
    QLineEdit *nameBox() const;

    // The name in the name box, in the folder shown; "~" is the home folder,
    // as in a shell. Without a name, what is chosen in the list.
    QString typedPath() const;

    Dialogs &boxes_;
    int flags_;
    QString chosen_;
};
