#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// What the program says when it ends without a window, where it says it, and
// the exit status.
struct Reply
{
    QString text; // nothing to say when empty
    FILE *stream = stdout;
    int status = 0;
};

// A program with windows has no console of its own on Windows. Where it was
// started from one, its standard streams that are not redirected to a file
// or a pipe write there. Elsewhere this does nothing.
void useConsoleOfParent();

// Reads the stream to its end, its bytes as they are. Returns why that
// failed, in Russian, or an empty text.
QString readAll(FILE *stream, QByteArray *bytes);

// Writes the bytes as they are. Returns why that failed, in Russian, or an
// empty text.
QString writeAll(FILE *stream, const QByteArray &bytes);

// Writes the text and a line break: in UTF-8, or on a Windows console as the
// characters themselves. Returns why that failed, in Russian, or an empty text.
QString writeLine(FILE *stream, const QString &text);

// The message and status for standard output that could not be written.
Reply cannotWriteOutput(const QString &program, const QString &reason);

// Says the reply and returns its status; the status is 1 when standard
// output cannot be written, and the reason is said on standard error. On
// Windows a program started without a console, from Explorer or a shortcut,
// says it in a message box titled with the program's name.
int tell(const Reply &reply, const QString &program, char *argv[]);
