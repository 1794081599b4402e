#pragma once

#include <QString>

class WindowOps;

// 16-bit booleans as the window keeps them.
constexpr qint16 True = -1;
constexpr qint16 False = 0;

// Caption text followed by a space and a count, never negative: «… 12».
QString withCount(const QString &caption, qsizetype count);

// The window's members that the run reads and writes.
struct RunMembers
{
    qint16 &RunFlag;
    QString &CurrentChar;
    QString &AnswerText;
};

// Passes the source text through SwapConsonant one character at a time,
// growing the result and letting the window handle its events after every
// character. Other commands act only inside those pumps. Its notices carry
// the program's title.
void ProcessingRun(WindowOps &window, RunMembers members, const QString &title);
