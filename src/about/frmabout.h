#pragma once

#include "about/sysinfo.h"

#include <QDialog>

class Dialogs;
class QLabel;
class QPushButton;

// The About window: the program's icon, title and version, and a button that
// starts the system-information tool.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(Dialogs &dialogs,
                      const sysinfo::Platform &platform = sysinfo::systemPlatform());

    // Loads the window afresh and shows it modally; returns once it is closed.
    void showModal();

private:
    void createControls();
    void load();
    void cmdSysInfoClick();

    Dialogs &dialogs_;
    const sysinfo::Platform platform_;

    QLabel *picIcon = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;
};
