#include "textfiles/textencoding.h"

#include "textfiles/cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

QStringConverter::Encoding converterFor(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case TextEncoding::Utf16BE:
        return QStringConverter::Utf16BE;
    case TextEncoding::Cp1251:
    case TextEncoding::Utf8:
        break;
    }
    return QStringConverter::Utf8;
}

} // namespace

TextEncoding encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xef\xbb\xbf"))
        return TextEncoding::Utf8;
    if (bytes.startsWith("\xff\xfe"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xfe\xff"))
        return TextEncoding::Utf16BE;
    if (!bytes.isValidUtf8())
        return TextEncoding::Cp1251;
    // In valid UTF-8 a byte from E0 up starts a sequence of three or four.
    if (std::any_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) >= 0xe0; }))
        return TextEncoding::Utf8;
    const QString text = QString::fromUtf8(bytes);
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.isLetter() && c.script() == QChar::Script_Cyrillic; })
               ? TextEncoding::Utf8
               : TextEncoding::Cp1251;
}

QString decodeText(const QByteArray &bytes)
{
    const TextEncoding encoding = encodingOf(bytes);
    if (encoding == TextEncoding::Cp1251)
        return decodeCp1251(bytes);
    // Drops the byte-order mark.
    QStringDecoder decoder(converterFor(encoding), QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable)
{
    *unrepresentable = 0;
    if (encoding == TextEncoding::Cp1251)
        return encodeCp1251(text, unrepresentable);
    QStringEncoder encoder(converterFor(encoding));
    return encoder.encode(text);
}
