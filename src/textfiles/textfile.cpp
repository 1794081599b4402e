#include "textfiles/textfile.h"

#include <QFileInfo>

#include <cerrno>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

constexpr char16_t IsFolder[] = u"Это папка, а не файл";
const QString NotAFile = QStringLiteral("Это не обычный файл, а канал, сокет или устройство");
const QString OddUtf16 =
    QStringLiteral("В файле UTF-16 нечётное число байтов: дописанный текст не прочитался бы");
const QString UnreadableName =
    QStringLiteral("Имя файла не читается в кодировке системы (UTF-8): переименуйте файл");

// Win32 error codes, numbered as in winerror.h.
enum WindowsError : int {
    FileNotFound = 2,
    PathNotFound = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    NotEnoughMemory = 8,
    InvalidDrive = 15,
    WriteProtect = 19,
    NotReady = 21,
    WriteFault = 29,
    ReadFault = 30,
    GeneralFailure = 31,
    SharingViolation = 32,
    LockViolation = 33,
    HandleDiskFull = 39,
    BadNetPath = 53,
    NetNameDeleted = 64,
    DiskFull = 112,
    InvalidName = 123,
    FileNameTooLong = 206,
    NotADirectory = 267,
};

// The failures a file command can meet, with the system's code for each:
// Qt reports errno values, and on Windows Win32 error codes.
struct Reason
{
    int unixCode;
    int windowsCode;
    const char16_t *text;
};

constexpr Reason Reasons[] = {
    {EPERM, 0, u"Операция не разрешена"},
    {ENOENT, FileNotFound, u"Нет такого файла или каталога"},
    {ENOENT, PathNotFound, u"Нет такого файла или каталога"},
    {ENOENT, BadNetPath, u"Нет такого файла или каталога"},
    {ENOENT, InvalidDrive, u"Нет такого диска"},
    {EIO, ReadFault, u"Ошибка ввода-вывода"},
    {EIO, WriteFault, u"Ошибка ввода-вывода"},
    {EIO, GeneralFailure, u"Ошибка ввода-вывода"},
    {EIO, NetNameDeleted, u"Ошибка ввода-вывода"},
    {ENXIO, NotReady, u"Устройство не готово"},
    {ENODEV, 0, u"Нет такого устройства"},
    {EACCES, AccessDenied, u"Доступ запрещён"},
    {EBUSY, SharingViolation, u"Файл занят другой программой"},
    {ETXTBSY, LockViolation, u"Файл занят другой программой"},
    {EISDIR, 0, IsFolder},
    {ENOTDIR, NotADirectory, u"Часть пути не является папкой"},
    {EINVAL, InvalidName, u"Недопустимое имя файла"},
    {ENAMETOOLONG, FileNameTooLong, u"Слишком длинное имя файла"},
    {ELOOP, 0, u"Слишком много уровней символьных ссылок"},
    {ENFILE, 0, u"Слишком много открытых файлов в системе"},
    {EMFILE, TooManyOpenFiles, u"Слишком много открытых файлов"},
    {ENOMEM, NotEnoughMemory, u"Недостаточно памяти"},
    {EFBIG, 0, u"Файл слишком велик"},
    {ENOSPC, DiskFull, u"Нет свободного места на устройстве"},
    {ENOSPC, HandleDiskFull, u"Нет свободного места на устройстве"},
    {EROFS, WriteProtect, u"Носитель защищён от записи"},
};

// A pipe or a socket, which QFileInfo does not tell from a device.
bool isPipeOrSocket(const QString &path)
{
#ifdef _WIN32
    Q_UNUSED(path);
    return false;
#else
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
#endif
}

} // namespace

// Qt gives the system's text for a failure, in the system's language or in
// English; the user is told in Russian.
QString inRussian(const QString &systemText)
{
    for (const Reason &reason : Reasons) {
#ifdef _WIN32
        const int code = reason.windowsCode;
#else
        const int code = reason.unixCode;
#endif
        if (code != 0 && qt_error_string(code) == systemText)
            return QString::fromUtf16(reason.text);
    }
    return systemText;
}

TextFile::TextFile(const QString &path) : file_(path) {}

TextFile::~TextFile()
{
    close();
}

bool TextFile::fail()
{
    error_ = inRussian(file_.errorString());
    return false;
}

bool TextFile::refuse(const QString &reason)
{
    error_ = reason;
    return false;
}

bool TextFile::openForReading()
{
    const QFileInfo info(file_.fileName());
    if (info.isDir())
        return refuse(QString::fromUtf16(IsFolder));
    if (info.exists() && !info.isFile())
        return refuse(NotAFile);
    if (file_.open(QIODevice::ReadOnly))
        return true;
#ifndef _WIN32
    // Qt reads bytes of a name that are not UTF-8, as in a name from an old
    // Windows-1251 archive, as U+FFFD, and no file bears the name it reads.
    if (file_.fileName().contains(QChar::ReplacementCharacter) && !file_.exists())
        return refuse(UnreadableName);
#endif
    return fail();
}

bool TextFile::readAll(QByteArray *bytes)
{
    // Not as many bytes as the length says: files under /proc report 0.
    *bytes = file_.readAll();
    return file_.error() == QFileDevice::NoError || fail();
}

bool TextFile::openForAppending()
{
    const QFileInfo info(file_.fileName());
    if (info.isDir())
        return refuse(QString::fromUtf16(IsFolder));
    if (isPipeOrSocket(file_.fileName()))
        return refuse(NotAFile);
    encoding_ = TextEncoding::Cp1251;
    created_ = !info.exists();
    // Unbuffered, so that a write the disk takes only in part returns as such.
    constexpr auto Writing = QIODevice::WriteOnly | QIODevice::Unbuffered;
    // A device such as /dev/full has no end to append at (Qt would seek it)
    // and nothing to read.
    if (info.exists() && !info.isFile())
        return file_.open(Writing) || fail();
    // Read through the handle that writes, so the encoding is that of the
    // file written to, even if another program has just replaced it. Reading
    // to the end leaves the position there, where Windows writes.
    if (file_.open(Writing | QIODevice::ReadOnly | QIODevice::Append)) {
        QByteArray bytes;
        if (!file_.seek(0) || !readAll(&bytes))
            return fail();
        encoding_ = encodingOf(bytes);
        // Text appended after a stray byte would start inside a character.
        if ((encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) &&
            bytes.size() % 2 != 0)
            return refuse(OddUtf16);
        return true;
    }
    return file_.open(Writing | QIODevice::Append) || fail();
}

bool TextFile::append(const QByteArray &bytes)
{
    const qint64 before = file_.size();
    // A write the disk takes only in part says nothing of why; the next one,
    // of the rest, fails with the reason.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 step = file_.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0) {
            fail();
            file_.resize(before);
            return false;
        }
        written += step;
    }
    return true;
}

void TextFile::close()
{
    if (created_ && file_.size() == 0)
        file_.remove();
    file_.close();
    created_ = false;
}
