#pragma once

#include "app/standardstreams.h"

#include <QStringList>

// What the command line asks for: the window, with a file to open or none, or
// a reply alone (the help, the version, or a mistake).
struct CommandLine
{
    enum class Mode { Window, Reply };
    Mode mode = Mode::Window;
    QString program; // the program's name, which starts its messages
    QString file;    // to open; empty: none
    Reply reply;
};

// Reads QCoreApplication::arguments(). Needs a QCoreApplication with Qt's
// Russian texts, for the help.
CommandLine readCommandLine(const QStringList &arguments);
