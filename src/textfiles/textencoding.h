#pragma once

#include <QByteArray>
#include <QString>

// Files the program creates are Windows-1251; most text files on a Linux
// desktop are UTF-8, and Windows Notepad's "Unicode" is UTF-16 with a mark.
enum class TextEncoding { Cp1251, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark names; without one, UTF-8 for bytes that are
// valid UTF-8 and hold a Cyrillic letter or a character of three or four
// bytes, and Windows-1251 for everything else. Windows-1251 text is valid
// UTF-8 only by chance, in short runs of a capital and a sign (C5 A8 is «ЕЁ»,
// or «Ũ» in UTF-8), which give Latin or other letters.
TextEncoding encodingOf(const QByteArray &bytes);

// The text of a file's bytes in the encoding they are in; a byte-order mark
// at the start is not part of it.
QString decodeText(const QByteArray &bytes);

// The text in the given encoding, without a byte-order mark. Characters that
// Windows-1251 lacks become '?'; their number goes to *unrepresentable.
QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable);
