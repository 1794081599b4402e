#pragma once

#include <QFont>

// The font of every control in both windows: the classic 8.25-point dialog
// font, or the nearest installed font that shows Cyrillic.
QFont dialogFont();
