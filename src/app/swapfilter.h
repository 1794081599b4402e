#pragma once

#include "app/standardstreams.h"

// The filter without a window: the text of the file, or of standard input when
// the path is empty or "-", with its consonants swapped, to standard output in
// the encoding it was read in and with its byte-order mark, if it had one. A
// Windows-1251 file comes back byte for byte when swapped twice. Needs no
// application object.
Reply swapFilter(const QString &path, const QString &program);
