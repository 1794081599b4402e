#pragma once

#include <QString>

// Russian prose of exactly `size` characters, the same every time: lines of
// about 70 characters ending in CR LF, or with lineLength 0 one unbroken line.
QString sampleText(qsizetype size, qsizetype lineLength);
