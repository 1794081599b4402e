#pragma once

#include "app/standardstreams.h"

#include <QStringList>

// What the command line asks for: the window, with a file to open or none;
// the filter; or a reply alone (the help, the version, or a mistake).
struct CommandLine
{
    enum class Mode { Window, Swap, Reply };
    Mode mode = Mode::Window;
    QStringList arguments; // as typed, the program first
    QString program;       // the program's name, which starts its messages
    QString file;          // to open or to swap; empty: none, or standard input
    Reply reply;
};

// Reads QCoreApplication::arguments(). Needs a QCoreApplication with Qt's
// Russian texts, for the help.
CommandLine readCommandLine(const QStringList &arguments);

// Until the next call of qInstallMessageHandler(), a QApplication that finds
// no display to show the window on ends the program with status 1 and advice
// in Russian, instead of Qt's abort() with "Reinstalling the application may
// fix this problem".
void adviseWhenNoDisplay(const CommandLine &commandLine);
