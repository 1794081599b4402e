#pragma once

#include <QList>
#include <QString>

// One run of the real main window over generated text.
struct Case
{
    QString name;
    qsizetype size;       // characters of source text
    qsizetype lineLength; // about this long, or 0 for one unbroken line
    bool literal;         // widgets brought up to date at every character
};

const QList<Case> &benchCases();

struct Measurement
{
    qsizetype characters = 0;
    double seconds = 0;      // from the click on Knop to the completion notice
    double firstTenthUs = 0; // cost per character
    double lastTenthUs = 0;  // up to the last step
    double endMs = 0;        // the last step, bringing the window up to date, the notice
    double floorUs = 0;      // cost per bare event pump
    double peakMB = 0;       // the process's peak resident memory

    double perSecond() const { return characters / seconds; }
    double flatness() const { return lastTenthUs / firstTenthUs; }
    double overFloor() const { return seconds * 1e6 / characters / floorUs; }

    // One line of text, to hand a measurement from process to process.
    QString toLine() const;
    static Measurement fromLine(const QString &line);
};

// Shows the main window, loads the case's text and times the run. The peak
// memory is this process's, so each case belongs in a process of its own.
Measurement measure(const Case &benchCase);
