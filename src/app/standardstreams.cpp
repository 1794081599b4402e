#include "app/standardstreams.h"

#include "appinfo.h"
#include "shared/dialogs.h"
#include "shared/translation.h"
#include "textfiles/textfile.h"

#include <QApplication>

#include <array>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

HANDLE handleOf(FILE *stream)
{
    const int descriptor = _fileno(stream);
    return descriptor < 0 ? INVALID_HANDLE_VALUE
                          : reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
}

// A console, a file, a pipe or NUL. Started from Explorer, the program has
// none of them.
bool leadsSomewhere(FILE *stream)
{
    const HANDLE handle = handleOf(stream);
    return handle != INVALID_HANDLE_VALUE && handle != nullptr &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Why bytes cannot pass the stream, or an empty text. They pass as they are,
// without the C library's CR LF for LF.
QString openForBytes(FILE *stream)
{
    if (!leadsSomewhere(stream))
        return QStringLiteral("программа запущена без консоли");
    _setmode(_fileno(stream), _O_BINARY);
    return {};
}

// A console shows the characters themselves; bytes it would read in its own
// code page, which is not UTF-8.
bool writtenToConsole(FILE *stream, const QString &line, QString *failure)
{
    const HANDLE handle = handleOf(stream);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode))
        return false;
    DWORD written = 0;
    if (!WriteConsoleW(handle, line.utf16(), DWORD(line.size()), &written, nullptr))
        *failure = inRussian(qt_error_string());
    return true;
}

bool toldInBox(const Reply &reply, char *argv[])
{
    if (leadsSomewhere(reply.stream))
        return false;
    int programNameOnly = 1;
    QApplication app(programNameOnly, argv);
    installQtRussianTranslation(app);
    Dialogs().messageBox(nullptr, reply.text,
                         reply.status == 0 ? MsgBox::OkOnly : MsgBox::Exclamation,
                         AppInfo::title());
    return true;
}

#else

// Elsewhere a stream leads to a terminal, a file, a pipe or the session's log.
QString openForBytes(FILE * /*stream*/)
{
    return {};
}
bool writtenToConsole(FILE * /*stream*/, const QString & /*line*/, QString * /*failure*/)
{
    return false;
}
bool toldInBox(const Reply & /*reply*/, char * /*argv*/[])
{
    return false;
}

#endif

} // namespace

void useConsoleOfParent()
{
#ifdef _WIN32
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // A stream redirected to a file, a pipe or NUL keeps going there.
    for (FILE *stream : {stdout, stderr}) {
        if (!leadsSomewhere(stream))
            (void)freopen("CONOUT$", "w", stream);
    }
#endif
}

QString readAll(FILE *stream, QByteArray *bytes)
{
    if (QString failure = openForBytes(stream); !failure.isEmpty())
        return failure;
    std::array<char, 65536> buffer;
    for (size_t count; (count = fread(buffer.data(), 1, buffer.size(), stream)) > 0;)
        bytes->append(buffer.data(), qsizetype(count));
    // errno, or on Windows the system's last error, which the read left.
    return ferror(stream) ? inRussian(qt_error_string()) : QString();
}

QString writeAll(FILE *stream, const QByteArray &bytes)
{
    if (QString failure = openForBytes(stream); !failure.isEmpty())
        return failure;
    const auto size = size_t(bytes.size());
    // A full disk may take the bytes into the buffer and refuse them at the flush.
    if (fwrite(bytes.constData(), 1, size, stream) == size && fflush(stream) == 0)
        return {};
    return inRussian(qt_error_string());
}

QString writeLine(FILE *stream, const QString &text)
{
    const QString line = text + QLatin1Char('\n');
    QString failure;
    if (writtenToConsole(stream, line, &failure))
        return failure;
    return writeAll(stream, line.toUtf8());
}

Reply cannotWriteOutput(const QString &program, const QString &reason)
{
    return {QStringLiteral("%1: не удалось записать в стандартный вывод: %2").arg(program, reason),
            stderr, 1};
}

int tell(const Reply &reply, const QString &program, char *argv[])
{
    if (reply.text.isEmpty() || toldInBox(reply, argv))
        return reply.status;
    const QString failure = writeLine(reply.stream, reply.text);
    if (failure.isEmpty() || reply.stream != stdout)
        return reply.status;
    const Reply failed = cannotWriteOutput(program, failure);
    writeLine(failed.stream, failed.text);
    return failed.status;
}
