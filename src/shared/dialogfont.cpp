#include "shared/dialogfont.h"

#include <QStringList>

QFont dialogFont()
{
    QFont font;
#ifdef Q_OS_WIN
    // There "MS Sans Serif" is a bitmap font that Qt draws at 9.75 points, too
    // wide for the buttons; its TrueType twin and Tahoma scale to 8.25.
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")});
#else
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
#endif
    font.setPointSizeF(8.25);
    return font;
}
