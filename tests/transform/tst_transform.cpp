// The coding of a character, and a run whose source changes under it.

#include "form1driver.h"

#include <QTemporaryFile>

class TransformTest : public QObject
{
    Q_OBJECT

private slots:
    // Ten pairs in both cases; every other code unit is left alone.
    void swapConsonantExchangesTheTwentyPairs()
    {
        QString changed;
        for (int code = 0; code <= 0xFFFF; ++code) {
            const QChar c{char16_t(code)};
            QCOMPARE(SwapConsonant(SwapConsonant(c)), c);
            if (SwapConsonant(c) != c)
                changed += c, changed += SwapConsonant(c);
        }
        QCOMPARE(changed, QStringLiteral("БЩВШГЧДЦЖХЗФКТЛСМРНППНРМСЛТКФЗХЖЦДЧГШВЩБ"
                                         "бщвшгчдцжхзфктлсмрнппнрмслткфзхжцдчгшвщб"));
    }

    // An empty file opened before the first character: the run goes on to the
    // old length, appending nothing, and the code command waits for its end.
    void emptyFileOpenedDuringARun()
    {
        QTemporaryFile empty;
        QVERIFY(empty.open());
        Form1Driver ui;
        ui.type(ui.T1(), QStringLiteral("бв"));
        ui.dialogs.fileNames = {empty.fileName()};
        bool codeEnabled = true;
        ui.after(0, [&] {
            ui.click("Command2");
            codeEnabled = ui.button("Knop")->isEnabled();
        });
        ui.click("Knop");
        QVERIFY(!codeEnabled);
        QCOMPARE(ui.shownState(), (QStringList{"", "", "Размер текста в символах: 2",
                                               "Длина обработанного участка: 0", "0"}));
    }
};

QTEST_MAIN(TransformTest)
#include "tst_transform.moc"
