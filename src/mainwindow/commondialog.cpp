#include "mainwindow/commondialog.h"

#include "shared/dialogs.h"

void CommonDialog::ShowOpen()
{
    FileName = dialogs_.fileName(parent_, {FileDialogRequest::Mode::Open, Filter, Flags});
}

void CommonDialog::ShowSave()
{
    FileName = dialogs_.fileName(parent_, {FileDialogRequest::Mode::Save, Filter, Flags});
}
