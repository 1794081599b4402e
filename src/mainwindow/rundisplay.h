#pragma once

#include "transform/windowops.h"
#include "widgets/frameannouncement.h"

class CountingStatusBar;
class Dialogs;
class TextBox;
class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The main window's side of the processing run: every operation acts on the
// real controls at once, so that each step is painted at the next pump.
class RunDisplay : public WindowOps
{
public:
    struct Controls
    {
        QWidget *window;
        TextBox *T1;
        TextBox *T2;
        QLabel *L;
        QProgressBar *Pr;
        CountingStatusBar *Bar;
        QPushButton *Knop;
        QAction *MnKod;
    };

    RunDisplay(const Controls &controls, Dialogs &dialogs);

    // The program has ended: the run is abandoned at its next pump.
    void endRun() { ended_ = true; }

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

private:
    qint64 filledWidth(int value) const;

    Controls c_;
    Dialogs &dialogs_;
    bool ended_ = false;
    bool knopHadFocus_ = false;              // when the run started
    int progressLeft_ = 0;                   // where the bar's filled part starts
    int progressWidth_ = 0;                  // of the bar's filled part when full
    FrameAnnouncement progressAnnouncement_; // once a frame
};

// Made before the application object: on X11 the window's changed pixels go
// to the display over the connection instead of through shared memory, where
// painting over the last step's pixels has to wait for the display to have
// read them.
void sendWindowPixelsOverTheConnection();

// Made before the application object: on a Wayland desktop that offers X11
// too (XWayland), the window is shown through X11 unless the user chose a
// platform (QT_QPA_PLATFORM). Qt's own Wayland platform hands the compositor
// a new picture of the whole window at every step of a run, which makes a
// step several times as costly; XWayland, as an X server, takes each step's
// changed pixels and shows the newest picture once a frame.
void showWindowThroughXWaylandWhereOffered();
