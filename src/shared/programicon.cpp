#include "shared/programicon.h"

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/veltor-%1.png").arg(size), QSize(size, size));
    return icon;
}
