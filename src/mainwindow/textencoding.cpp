#include "mainwindow/textencoding.h"

#include "mainwindow/cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

TextEncoding encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xef\xbb\xbf"))
        return TextEncoding::Utf8;
    const bool multiByte =
        std::any_of(bytes.begin(), bytes.end(), [](char byte) { return byte & 0x80; });
    return multiByte && bytes.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp1251;
}

QString decodeText(const QByteArray &bytes)
{
    if (encodingOf(bytes) == TextEncoding::Cp1251)
        return decodeCp1251(bytes);
    // Drops the byte-order mark.
    QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return fromUtf8.decode(bytes);
}

QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable)
{
    *unrepresentable = 0;
    if (encoding == TextEncoding::Cp1251)
        return encodeCp1251(text, unrepresentable);
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    return toUtf8.encode(text);
}
