#pragma once

#include "mainwindow/textencoding.h"

#include <QByteArray>
#include <QFile>

// The lowest file number from 1 to 255 that no open TextFile holds, or 0
// when all are taken.
qint16 freeFileNumber();

// A numbered text file, opened, used and closed within one command; closed
// when it goes out of scope.
class TextFile
{
public:
    TextFile(qint16 number, const QString &path);
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // Only a regular file is opened: a pipe would keep the window waiting
    // for a writer, and a device may never end.
    bool openForReading();
    // Reads the whole file, to its end.
    bool readAll(QByteArray *bytes);

    // The encoding of what the file holds, as opening it would find; a new or
    // empty file is Windows-1251.
    TextEncoding encoding() const;
    // Creates the file when it does not exist. A pipe is refused, since it
    // would keep the window waiting for a reader.
    bool openForAppending();
    // Writes the bytes and a line break at the end of the file. If that
    // fails, the file is cut back to what it held before.
    bool appendLine(const QByteArray &bytes);

    // Why the last step failed, in Russian.
    QString errorString() const { return error_; }

private:
    bool fail();
    bool refuse(const QString &reason);

    qint16 number_;
    QFile file_;
    QString error_;
};
