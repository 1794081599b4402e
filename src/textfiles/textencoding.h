#pragma once

#include <QByteArray>
#include <QString>

// Files the program creates are Windows-1251; most text files on a Linux
// desktop are UTF-8, and Windows Notepad's "Unicode" is UTF-16 with a mark.
enum class TextEncoding { Cp1251, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark names. Without one, the whole file is read as
// UTF-8, and it is UTF-8 when more of what lies beyond ASCII speaks for UTF-8
// than against it, and Windows-1251 otherwise, a tie included.
// - For: a character of three or four bytes; a letter of two bytes beside a
//   letter of its own script (é in «Café»), or a Cyrillic letter, the texts
//   being Russian; a sign of two bytes (©, °, «, a no-break space) between
//   ASCII characters.
// - Against: a damaged spot (a byte that starts nothing, or a sequence cut
//   short); a letter of two bytes beside a letter of another script.
// Russian in Windows-1251 is damaged UTF-8 at nearly every letter. It is valid
// UTF-8 only where a capital meets a sign or Ё, and that reads as letters and
// signs out of place: «ЕЁ» (C5 A8) is «Ũ», a Latin letter with no Latin beside
// it, and «В«Д—» is «ė» with « before it. A small letter followed by two bytes
// from 80 to BF («её»», ending a quotation) makes a character of three bytes,
// one vote among the damage around it.
TextEncoding encodingOf(const QByteArray &bytes);

// The text of a file's bytes in the encoding they are in, which goes to
// *encoding when asked for; a byte-order mark at the start is not part of
// the text. Each damaged spot of UTF-8 is one U+FFFD.
QString decodeText(const QByteArray &bytes, TextEncoding *encoding = nullptr);

// The byte-order mark of the encoding; none for Windows-1251.
QByteArray byteOrderMark(TextEncoding encoding);

// The text in the given encoding, without a byte-order mark. Characters that
// Windows-1251 lacks become '?'; their number goes to *unrepresentable.
QByteArray encodeText(const QString &text, TextEncoding encoding, qsizetype *unrepresentable);
