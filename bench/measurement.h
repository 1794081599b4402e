#pragma once

#include <QList>
#include <QString>

// One run of the real main window over generated text.
struct Case
{
    QString name;
    qsizetype size;       // characters of source text
    qsizetype lineLength; // about this long, or 0 for one unbroken line
};

const QList<Case> &benchCases();

// How one way of stepping through the text went.
struct Timing
{
    double seconds = 0;      // up to the last step
    double firstTenthUs = 0; // cost per step
    double lastTenthUs = 0;

    double flatness() const { return lastTenthUs / firstTenthUs; }
};

struct Measurement
{
    qsizetype characters = 0;
    Timing pump;       // (a) bare event pumps
    Timing floor;      // (b0) Qt's plain status bar and progress bar set, then a pump
    Timing run;        // (c) the real run
    double endMs = 0;  // after the run's last step: filling the result box in, the notice
    double peakMB = 0; // the process's peak resident memory
    Timing reader;     // (d) the real run with a screen reader listening, in a process of its own
    // The real run on a Wayland desktop, each in a process of its own: with
    // XWayland offered, and without.
    Timing xwayland{};
    double xwaylandPeakMB = 0;
    Timing wayland{};
    double waylandPeakMB = 0;

    double perSecond(const Timing &t) const { return characters / t.seconds; }
    double overFloor() const { return run.seconds / floor.seconds; }
    double overRun(const Timing &t) const { return t.seconds / run.seconds; }

    // One line of text, to hand a measurement from process to process.
    QString toLine() const;
    static Measurement fromLine(const QString &line);
};

// Shows the main window, loads the case's text and times the three ways of
// stepping through it, or with runOnly the real run alone. The peak memory is
// this process's, so each case belongs in a process of its own.
Measurement measure(const Case &benchCase, bool runOnly);

// What the window's pixels cost on their way to the display, in microseconds.
struct PixelCosts
{
    double step = 0;    // a step of the real run, over 20,000 characters of lines
    double repaint = 0; // the whole window painted and sent
    double scroll = 0;  // the result scrolled by a line

    QString toLine() const;
    static PixelCosts fromLine(const QString &line);
};

PixelCosts measurePixels();
