#pragma once

#include "mainwindow/commondialog.h"
#include "transform/processingrun.h"

#include <QMainWindow>

#include <memory>

class CountingStatusBar;
class Dialogs;
class frmAbout;
class PictureButton;
class RunDisplay;
class TextBox;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QUrl;

// The main window: source and result boxes, the commands, the progress display.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(Dialogs &dialogs, QWidget *parent = nullptr);
    ~Form1() override;

    const QString &answerText() const { return AnswerText; }

    // Opens a text file into T1 as the open command does; also for a file
    // named on the command line or dropped on the window.
    void openFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void nameForScreenReaders();
    void createMenus();
    void setTabOrder();
    void connectCommands();
    bool takeFileDrop(QEvent *event);

    // Commands.
    void knopClick();
    void command3Click();
    void mnExitClick();
    void command2Click();
    void command1Click();
    void mnuAboutClick();
    void openDropped(const QList<QUrl> &urls);

    bool busy() const;
    int message(const QString &text, int style, const QString &title);
    int ask(const QString &question);
    void reportFileError(const QString &what, const QString &path, const QString &reason);
    void endProgram();

    Dialogs &dialogs_;

    QFrame *Line1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    TextBox *T1 = nullptr;
    TextBox *T2 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Knop = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *L = nullptr;
    PictureButton *Command3 = nullptr;
    QProgressBar *Pr = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    CountingStatusBar *Bar = nullptr;

    QMenu *mnF = nullptr;
    QAction *MnOpen = nullptr;
    QAction *MnSave = nullptr;
    QAction *MnKod = nullptr;
    QAction *MnStp = nullptr;
    QAction *MnExit = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr;

    CommonDialog Com;
    std::unique_ptr<RunDisplay> display_;
    std::unique_ptr<frmAbout> about_; // made when first asked for

    qint16 RunFlag = False;
    QString CurrentChar;
    QString AnswerText;
};
