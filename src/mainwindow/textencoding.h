#pragma once

#include <QByteArray>
#include <QString>

// Files the program creates are Windows-1251; most text files on a Linux
// desktop are UTF-8.
enum class TextEncoding { Cp1251, Utf8 };

// UTF-8 for bytes that start with its byte-order mark, or that are valid UTF-8
// and hold at least one character of more than one byte; Windows-1251 for
// everything else. Real Windows-1251 text is practically never valid UTF-8.
TextEncoding encodingOf(const QByteArray &bytes);

// The text of a file's bytes in the encoding they are in; a byte-order mark
// at the start is not part of it.
QString decodeText(const QByteArray &bytes);

// The text in the given encoding, without a byte-order mark. Characters that
// Windows-1251 lacks become '?'; their number goes to *unrepresentable.
QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable);
