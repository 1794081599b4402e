#pragma once

#include "mainwindow/commondialog.h"
#include "transform/processingrun.h"
#include "transform/windowops.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>

class Dialogs;
class frmAbout;
class PictureButton;
class TextBox;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The main window: source and result boxes, the commands, the progress display.
class Form1 : public QMainWindow, private WindowOps
{
    Q_OBJECT

public:
    explicit Form1(Dialogs &dialogs, QWidget *parent = nullptr);
    ~Form1() override;

    // With frame pacing (the default) a run brings the widgets up to date at
    // most once a frame; without it, at every character.
    void setFramePacing(bool on) { framePacing_ = on; }

    const QString &answerText() const { return AnswerText; }

    // Opens a text file into T1 as the open command does; also for a file
    // named on the command line.
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

    // Commands.
    void knopClick();
    void command3Click();
    void mnExitClick();
    void command2Click();
    void command1Click();
    void mnuAboutClick();

    bool busy() const;
    int message(const QString &text, int style, const QString &title);
    int ask(const QString &question);
    void reportFileError(const QString &what, const QString &path, const QString &reason);
    void endProgram();
    void showState();

    // WindowOps
    const QString &sourceText() const override;
    const QString &resultText() const override;
    void clearResult() override;
    void appendResult(const QString &text) override;
    void setBoxesLocked(bool locked) override;
    void setSizeCaption(const QString &caption) override;
    void setProgressMaximum(float maximum) override;
    void setProgressValue(float value) override;
    void setStatusText(const QString &text) override;
    void setCommandEnabled(bool enabled) override;
    int showNotice(const QString &text, int style, const QString &title) override;
    bool pumpEvents() override;

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
    QStatusBar *Bar = nullptr;

    QMenu *mnF = nullptr;
    QAction *MnOpen = nullptr;
    QAction *MnSave = nullptr;
    QAction *MnKod = nullptr;
    QAction *MnStp = nullptr;
    QAction *MnExit = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr;

    CommonDialog Com;
    std::unique_ptr<frmAbout> about_; // made when first asked for

    qint16 RunFlag = False;
    QString CurrentChar;
    QString AnswerText;
    qint16 FileNumber = 0;

    // What the size caption, the status bar and the progress bar are to show;
    // during a run the widgets follow at most once a frame.
    QString sizeCaption_;
    QString statusText_;
    float progressMaximum_ = 65535;
    float progressValue_ = 0;
    bool framePacing_ = true;
    QElapsedTimer frameClock_;
    static constexpr qint64 FrameMs = 16;
    qint64 frameMs_ = FrameMs; // how long the current frame lasts
    bool ended_ = false;
};
