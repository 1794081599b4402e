#include "textfiles/textencoding.h"

#include "textfiles/cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <utility>

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

// A character of UTF-8, or a damaged spot: a byte that starts none, or the
// start of a sequence cut short. Qt shows a cut sequence as one U+FFFD per
// byte; here a damaged spot is one.
struct Utf8Step
{
    qsizetype length;
    char32_t character; // U+FFFD for a damaged spot
    bool damaged;
};

Utf8Step utf8StepAt(QByteArrayView bytes, qsizetype at)
{
    const auto lead = uchar(bytes[at]);
    if (lead < 0x80)
        return {1, lead, false};
    // The range of the byte after the lead keeps out longer forms of shorter
    // characters, surrogates and what lies beyond U+10FFFF; the rest are 80
    // to BF.
    int length = 0;
    uchar low = 0x80;
    uchar high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = lead == 0xe0 ? 0xa0 : 0x80;
        high = lead == 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
        return {1, QChar::ReplacementCharacter, true};
    }
    char32_t character = lead & (0x7f >> length);
    for (int i = 1; i < length; ++i) {
        const uchar next = at + i < bytes.size() ? uchar(bytes[at + i]) : 0;
        if (next < low || next > high)
            return {i, QChar::ReplacementCharacter, true};
        character = (character << 6) | (next & 0x3f);
        low = 0x80;
        high = 0xbf;
    }
    return {length, character, false};
}

struct Utf8Reading
{
    QString text;
    qsizetype damaged = 0;
    qsizetype longCharacters = 0; // of three or four bytes
};

Utf8Reading readUtf8(QByteArrayView bytes)
{
    Utf8Reading reading;
    reading.text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const Utf8Step step = utf8StepAt(bytes, at);
        if (step.damaged)
            ++reading.damaged;
        else if (step.length > 2)
            ++reading.longCharacters;
        if (QChar::requiresSurrogates(step.character)) {
            const QChar pair[] = {QChar::highSurrogate(step.character),
                                  QChar::lowSurrogate(step.character)};
            reading.text.append(pair, 2);
        } else {
            reading.text += QChar(char16_t(step.character));
        }
        at += step.length;
    }
    return reading;
}

// The script of a letter, or none for a letter that several scripts share
// (µ) and for anything else.
QChar::Script scriptOfLetter(QChar c)
{
    const QChar::Script script = c.isLetter() ? c.script() : QChar::Script_Unknown;
    return script == QChar::Script_Common || script == QChar::Script_Inherited
               ? QChar::Script_Unknown
               : script;
}

// What a character of two bytes in UTF-8 (U+0080 to U+07FF) says for the
// text being UTF-8 (1), against it (-1), or neither (0); see encodingOf().
int weightOf(QChar before, QChar c, QChar after)
{
    const QChar::Script script = scriptOfLetter(c);
    if (script == QChar::Script_Unknown) {
        const bool latinSign = !c.isLetter() && c.unicode() >= 0xa0 && c.unicode() <= 0xbf;
        return latinSign && before.unicode() < 0x80 && after.unicode() < 0x80 ? 1 : 0;
    }
    bool own = script == QChar::Script_Cyrillic;
    bool other = false;
    for (const QChar beside : {before, after}) {
        const QChar::Script besideScript = scriptOfLetter(beside);
        own = own || besideScript == script;
        other = other || (besideScript != script && besideScript != QChar::Script_Unknown);
    }
    return other ? -1 : own ? 1 : 0;
}

bool readsAsUtf8(const Utf8Reading &reading)
{
    const QString &text = reading.text;
    qsizetype weight = reading.longCharacters - reading.damaged;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() >= 0x80 && text[i].unicode() <= 0x7ff)
            weight += weightOf(i > 0 ? text[i - 1] : QChar(u'\n'), text[i],
                               i + 1 < text.size() ? text[i + 1] : QChar(u'\n'));
    }
    return weight > 0;
}

} // namespace

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QByteArrayLiteral("\xef\xbb\xbf");
    case TextEncoding::Utf16LE:
        return QByteArrayLiteral("\xff\xfe");
    case TextEncoding::Utf16BE:
        return QByteArrayLiteral("\xfe\xff");
    case TextEncoding::Cp1251:
        break;
    }
    return {};
}

namespace {

std::optional<TextEncoding> markedEncoding(const QByteArray &bytes)
{
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        if (bytes.startsWith(byteOrderMark(encoding)))
            return encoding;
    }
    return std::nullopt;
}

} // namespace

TextEncoding encodingOf(const QByteArray &bytes)
{
    if (const std::optional<TextEncoding> marked = markedEncoding(bytes))
        return *marked;
    return readsAsUtf8(readUtf8(bytes)) ? TextEncoding::Utf8 : TextEncoding::Cp1251;
}

QString decodeText(const QByteArray &bytes, TextEncoding *encoding)
{
    const std::optional<TextEncoding> marked = markedEncoding(bytes);
    TextEncoding found = marked.value_or(TextEncoding::Cp1251);
    QString text;
    if (!marked) {
        // The reading that weighs the encoding is the text when it is UTF-8.
        if (Utf8Reading reading = readUtf8(bytes); readsAsUtf8(reading)) {
            found = TextEncoding::Utf8;
            text = std::move(reading.text);
        }
    } else if (found == TextEncoding::Utf8) {
        text = readUtf8(QByteArrayView(bytes).sliced(byteOrderMark(found).size())).text;
    } else {
        // Drops the byte-order mark.
        text = QStringDecoder(converterFor(found), QStringDecoder::Flag::Stateless).decode(bytes);
    }
    if (found == TextEncoding::Cp1251) // once the reading as UTF-8 is let go
        text = decodeCp1251(bytes);
    if (encoding)
        *encoding = found;
    return text;
}

QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable)
{
    *unrepresentable = 0;
    if (encoding == TextEncoding::Cp1251)
        return encodeCp1251(text, unrepresentable);
    QStringEncoder encoder(converterFor(encoding));
    return encoder.encode(text);
}
