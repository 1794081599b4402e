#pragma once

#include <QByteArray>
#include <QString>

// Text files are Windows-1251: one byte per character, no byte-order mark.
QString decodeCp1251(const QByteArray &bytes);

// Characters the code page lacks become '?'; their number goes to
// *unrepresentable when it is given.
QByteArray encodeCp1251(const QString &text, qsizetype *unrepresentable = nullptr);
