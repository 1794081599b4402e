#pragma once

#include <QIcon>

// The program's icon with its images of 16, 32 and 48 pixels.
QIcon programIcon();
