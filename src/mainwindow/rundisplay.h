#pragma once

#include "transform/windowops.h"

class Dialogs;
class TextBox;
class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
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
        QStatusBar *Bar;
        QPushButton *Knop;
        QAction *MnKod;
    };

    RunDisplay(const Controls &controls, Dialogs &dialogs) : c_(controls), dialogs_(dialogs) {}

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
    Controls c_;
    Dialogs &dialogs_;
    bool ended_ = false;
    bool knopHadFocus_ = false; // when the run started
};
