#include "mainwindow/textfile.h"

#include <QFileInfo>

#include <bitset>

namespace {
std::bitset<256> numbersInUse;
} // namespace

qint16 FreeFile()
{
    for (qint16 number = 1; number <= 255; ++number) {
        if (!numbersInUse.test(size_t(number)))
            return number;
    }
    return 0;
}

TextFile::TextFile(qint16 number, const QString &path) : number_(number), file_(path)
{
    numbersInUse.set(size_t(number_));
}

TextFile::~TextFile()
{
    file_.close();
    numbersInUse.reset(size_t(number_));
}

bool TextFile::fail()
{
    error_ = file_.errorString();
    return false;
}

bool TextFile::openForReading()
{
    // Qt would open a folder for reading and find nothing in it.
    if (QFileInfo(file_.fileName()).isDir()) {
        error_ = QStringLiteral("Это папка, а не файл");
        return false;
    }
    return file_.open(QIODevice::ReadOnly) || fail();
}

bool TextFile::readAll(QByteArray *bytes)
{
    const qint64 length = file_.size();
    *bytes = file_.read(length);
    if (bytes->size() == length)
        return true;
    if (file_.error() == QFileDevice::NoError)
        error_ = QStringLiteral("Файл короче своей длины (%1 байт)").arg(length);
    else
        fail();
    return false;
}

bool TextFile::openForAppending()
{
    return file_.open(QIODevice::WriteOnly | QIODevice::Append) || fail();
}

bool TextFile::appendLine(const QByteArray &bytes)
{
    const qint64 before = file_.size();
    const QByteArray line = bytes + "\r\n";
    if (file_.write(line) == line.size() && file_.flush())
        return true;
    fail();
    file_.resize(before);
    return false;
}
