#include "form1driver.h"

#include <memory>

namespace {
const QString Done = QStringLiteral("Обработка завершена!");
const QString StopQuestion = QStringLiteral("Вы уверены, что хотите остановить процесс?!");
const QString Sentence =
    QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю.");

// `Sentence` over and over up to `size` characters, with or without line breaks.
QString book(qsizetype size, const QString &separator)
{
    QString text;
    while (text.size() < size)
        text += Sentence + separator;
    text.truncate(size);
    return text;
}

QString swapped(QString text)
{
    for (QChar &c : text)
        c = SwapConsonant(c);
    return text;
}
} // namespace

// Runs over texts far longer than the box, where the view follows the text a
// frame at a time.
class LargeRunTest : public QObject
{
    Q_OBJECT

private slots:
    void stopAnsweredYesEndsAMillionCharacterRunAtTheNextStep()
    {
        Form1Driver ui;
        const QString source = book(1'000'000, QStringLiteral("\r\n"));
        ui.T1()->setText(source);
        const qsizetype k = 20'000;
        ui.dialogs.answers = {MsgBox::Yes};
        AfterCharacters stop(k, [&] { ui.click("Command3"); });
        ui.click("Knop");

        QCOMPARE(ui.dialogs.texts(), (QStringList{StopQuestion, Done}));
        QCOMPARE(ui.T2()->text().size(), k + 1);
        QCOMPARE(ui.T2()->text(), swapped(source.left(k + 1)));
        QCOMPARE(ui.status(), QStringLiteral("Длина обработанного участка: %1").arg(k + 1));
        QCOMPARE(ui.progress(), 0);
        QVERIFY(!ui.busy());
    }

    void viewShowsTheWholeResultAtTheCompletionNotice_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("one line of 200,000") << book(200'000, QStringLiteral(" "));
        QTest::newRow("lines") << book(50'000, QStringLiteral("\r\n"));
    }
    void viewShowsTheWholeResultAtTheCompletionNotice()
    {
        QFETCH(QString, source);
        Form1Driver ui;
        ui.T1()->setText(source);
        QString shownAtNotice;
        ui.dialogs.whileShown = [&](const ScriptedDialogs::Box &) {
            shownAtNotice = Form1Driver::shown(ui.T2());
        };
        ui.click("Knop");

        QCOMPARE(ui.dialogs.texts(), QStringList{Done});
        QCOMPARE(ui.T2()->text(), swapped(source));
        QCOMPARE(shownAtNotice, ui.T2()->text());
        QCOMPARE(ui.T2()->textCursor().position(), 0);
    }
};

QTEST_MAIN(LargeRunTest)
#include "tst_largerun.moc"
