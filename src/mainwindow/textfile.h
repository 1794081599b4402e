#pragma once

#include <QByteArray>
#include <QFile>

// The lowest file number from 1 to 255 that no open TextFile holds, or 0
// when all are taken.
qint16 FreeFile();

// A numbered text file, opened, used and closed within one command; closed
// when it goes out of scope.
class TextFile
{
public:
    TextFile(qint16 number, const QString &path);
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    bool openForReading();
    // Reads the whole file: as many bytes as its length.
    bool readAll(QByteArray *bytes);

    // Creates the file when it does not exist.
    bool openForAppending();
    // Writes the bytes and a line break at the end of the file. If that
    // fails, the file is cut back to what it held before.
    bool appendLine(const QByteArray &bytes);

    // The system's reason for the last failure.
    QString errorString() const { return error_; }

private:
    bool fail();

    qint16 number_;
    QFile file_;
    QString error_;
};
