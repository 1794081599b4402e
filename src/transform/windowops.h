#pragma once

#include <QString>

// What the processing run needs from the window. Texts count a line break as
// carriage return plus line feed.
class WindowOps
{
public:
    virtual ~WindowOps() = default;

    virtual const QString &sourceText() const = 0;
    virtual const QString &resultText() const = 0;
    virtual void clearResult() = 0;
    virtual void appendResult(const QString &text) = 0;
    virtual void setBoxesLocked(bool locked) = 0;
    virtual void setSizeCaption(const QString &caption) = 0;
    virtual void setProgressMaximum(float maximum) = 0;
    virtual void setProgressValue(float value) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setCommandEnabled(bool enabled) = 0;
    // Shows a message box with the window system's style code; returns the answer code.
    virtual int showNotice(const QString &text, int style, const QString &title) = 0;
    // Lets the window handle what is pending. Returns false once the program
    // has ended meanwhile: the run is then abandoned where it stands.
    virtual bool pumpEvents() = 0;
};
