#pragma once

#include <QChar>

// Exchanges the twenty Russian consonants other than й in fixed pairs (б↔щ,
// в↔ш, … н↔п), each case on its own; every other character is returned as it
// is. Applying it twice gives the character back, so one operation both
// encodes and decodes.
QChar SwapConsonant(QChar c);
