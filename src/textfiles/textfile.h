#pragma once

#include "textfiles/textencoding.h"

#include <QByteArray>
#include <QFile>

// The system's text for a failure (a file's errorString(), qt_error_string())
// in Russian; a reason the program does not know keeps the system's text.
QString inRussian(const QString &systemText);

// A text file, opened, used and closed within one command; closed when it
// goes out of scope.
class TextFile
{
public:
    explicit TextFile(const QString &path);
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // Only a regular file is opened: a pipe would keep the window waiting
    // for a writer, and a device may never end.
    bool openForReading();
    // Reads the whole file, to its end.
    bool readAll(QByteArray *bytes);

    // Opens the file to append to it, creating it when it does not exist, and
    // reads what it holds through the same handle, for its encoding. A pipe
    // is refused, since it would keep the window waiting for a reader, and so
    // is UTF-16 with a stray byte at its end.
    bool openForAppending();
    // The encoding of what the file held when it was opened for appending; a
    // new or empty file, or one the user may write but not read, is
    // Windows-1251.
    TextEncoding encoding() const { return encoding_; }
    // Writes the bytes at the end of the file. If that fails, the file is cut
    // back to what it held before.
    bool append(const QByteArray &bytes);
    // A file that opening for appending created and that is still empty is
    // removed: a save that wrote nothing leaves nothing behind.
    void close();

    // Why the last step failed, in Russian.
    QString errorString() const { return error_; }

private:
    bool fail();
    bool refuse(const QString &reason);

    QFile file_;
    QString error_;
    TextEncoding encoding_ = TextEncoding::Cp1251;
    bool created_ = false;
};
