#include "transform/swapconsonant.h"

#include <QTest>

class SwapConsonantTest : public QObject
{
    Q_OBJECT

private slots:
    void exchangesTheTenPairsInBothCases()
    {
        const QString from = QStringLiteral("бвгджзклмнБВГДЖЗКЛМН");
        const QString to = QStringLiteral("щшчцхфтсрпЩШЧЦХФТСРП");
        for (qsizetype i = 0; i < from.size(); ++i) {
            QCOMPARE(SwapConsonant(from[i]), to[i]);
            QCOMPARE(SwapConsonant(to[i]), from[i]);
        }
    }

    // With the forty letters above, every other character is left alone.
    void isItsOwnInverseOnEveryCodeUnit()
    {
        int changed = 0;
        for (int code = 0; code <= 0xFFFF; ++code) {
            const QChar c{char16_t(code)};
            QCOMPARE(SwapConsonant(SwapConsonant(c)), c);
            changed += SwapConsonant(c) != c;
        }
        QCOMPARE(changed, 40);
    }
};

QTEST_APPLESS_MAIN(SwapConsonantTest)
#include "tst_swapconsonant.moc"
