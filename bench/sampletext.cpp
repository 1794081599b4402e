#include "sampletext.h"

#include <QStringList>

namespace {

const QStringList Words = {
    QStringLiteral("съешь"),     QStringLiteral("же"),         QStringLiteral("ещё"),
    QStringLiteral("этих"),      QStringLiteral("мягких"),     QStringLiteral("французских"),
    QStringLiteral("булок,"),    QStringLiteral("да"),         QStringLiteral("выпей"),
    QStringLiteral("чаю."),      QStringLiteral("Широкая"),    QStringLiteral("электрификация"),
    QStringLiteral("южных"),     QStringLiteral("губерний"),   QStringLiteral("даст"),
    QStringLiteral("мощный"),    QStringLiteral("толчок"),     QStringLiteral("подъёму"),
    QStringLiteral("сельского"), QStringLiteral("хозяйства."), QStringLiteral("В"),
    QStringLiteral("чащах"),     QStringLiteral("юга"),        QStringLiteral("жил"),
    QStringLiteral("бы"),        QStringLiteral("цитрус?"),    QStringLiteral("Да,"),
    QStringLiteral("но"),        QStringLiteral("фальшивый"),  QStringLiteral("экземпляр!"),
};

} // namespace

QString sampleText(qsizetype size, qsizetype lineLength)
{
    QString text;
    text.reserve(size + 100);
    qsizetype lineStart = 0;
    quint32 seed = 1;
    while (text.size() < size) {
        seed = seed * 1664525u + 1013904223u; // a fixed sequence, not a random one
        const QString &word = Words[(seed >> 16) % Words.size()];
        if (lineLength > 0 && text.size() - lineStart + word.size() >= lineLength) {
            text += QStringLiteral("\r\n");
            lineStart = text.size();
        } else if (text.size() > lineStart) {
            text += QLatin1Char(' ');
        }
        text += word;
    }
    text.truncate(size);
    // Cutting a line break in half would leave a lone carriage return.
    if (text.endsWith(QLatin1Char('\r')))
        text.back() = u'ж';
    return text;
}
