#include "app/swapfilter.h"

#include "textfiles/textencoding.h"
#include "textfiles/textfile.h"
#include "transform/swapconsonant.h"

#include <utility>

namespace {

bool isStandardInput(const QString &path)
{
    return path.isEmpty() || path == u"-";
}

// Why reading failed, in Russian, or an empty text.
QString readInput(const QString &path, QByteArray *bytes)
{
    if (isStandardInput(path))
        return readAll(stdin, bytes);
    TextFile file(path);
    return file.openForReading() && file.readAll(bytes) ? QString() : file.errorString();
}

// Each copy is let go as soon as the next one is made: a large file is held
// about three times over at most, as bytes and as text.
QByteArray swapped(QByteArray bytes)
{
    TextEncoding encoding = TextEncoding::Cp1251;
    QString text = decodeText(bytes, &encoding);
    const QByteArray mark =
        bytes.startsWith(byteOrderMark(encoding)) ? byteOrderMark(encoding) : QByteArray();
    bytes = {};
    for (QChar &c : text)
        c = SwapConsonant(c);
    // Every letter's partner is in every encoding the letter is in.
    qsizetype unrepresentable = 0;
    return encodeText(std::exchange(text, {}), encoding, &unrepresentable).prepend(mark);
}

} // namespace

Reply swapFilter(const QString &path, const QString &program)
{
    QByteArray bytes;
    if (const QString failure = readInput(path, &bytes); !failure.isEmpty()) {
        const QString source = isStandardInput(path) ? QStringLiteral("стандартный ввод")
                                                     : QStringLiteral("«%1»").arg(path);
        return {QStringLiteral("%1: не удалось прочитать %2: %3").arg(program, source, failure),
                stderr, 1};
    }
    if (const QString failure = writeAll(stdout, swapped(std::move(bytes))); !failure.isEmpty())
        return cannotWriteOutput(program, failure);
    return {};
}
