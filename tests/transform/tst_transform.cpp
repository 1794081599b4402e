// The coding of a character, and the processing run against a fake window
// that logs what the run does to it, so that the order of the steps and the
// moments other commands act are seen.

#include "shared/msgbox.h"
#include "transform/processingrun.h"
#include "transform/swapconsonant.h"
#include "transform/windowops.h"

#include <QTest>

#include <functional>

class LoggingWindow : public WindowOps
{
public:
    QString source, result;
    QStringList log;
    std::function<bool(int)> atPump = [](int) { return true; }; // false: the program ended
    int pumps = 0;

    const QString &sourceText() const override { return source; }
    const QString &resultText() const override { return result; }
    void clearResult() override { result.clear(), log << "clear"; }
    void appendResult(const QString &text) override { result += text, log << "append " + text; }
    void setBoxesLocked(bool locked) override { log << (locked ? "lock" : "unlock"); }
    void setSizeCaption(const QString &caption) override { log << caption; }
    void setProgressMaximum(float maximum) override { log << "max " + QString::number(maximum); }
    void setProgressValue(float value) override { log << "value " + QString::number(value); }
    void setStatusText(const QString &text) override { log << text; }
    void setCommandEnabled(bool enabled) override { log << (enabled ? "enable" : "disable"); }
    int showNotice(const QString &text, int style, const QString &title) override
    {
        log << QStringLiteral("notice %1 %2 %3").arg(text).arg(style).arg(title);
        return MsgBox::Ok;
    }
    bool pumpEvents() override { return log << "pump", atPump(++pumps); }
};

namespace {
QStringList step(const QString &appended, int length, int i)
{
    return {"lock", "pump", "append " + appended,
            QStringLiteral("Длина обработанного участка: %1").arg(length),
            "value " + QString::number(i)};
}
const QStringList Ending{"enable", "unlock", "value 0", "notice Обработка завершена! 48 T"};
} // namespace

class TransformTest : public QObject
{
    Q_OBJECT

    LoggingWindow window;
    qint16 RunFlag = False;
    QString CurrentChar, AnswerText;

    void run() { ProcessingRun(window, {RunFlag, CurrentChar, AnswerText}, QStringLiteral("T")); }

private slots:
    void init()
    {
        window = LoggingWindow();
        CurrentChar = AnswerText = QStringLiteral("x");
    }

    // Ten pairs in both cases; every other code unit is left alone.
    void swapConsonantExchangesTheTwentyPairs()
    {
        QString all;
        for (int code = 0; code <= 0xFFFF; ++code)
            all += QChar(char16_t(code));
        QString changed;
        for (QChar c : all) {
            QCOMPARE(SwapConsonant(SwapConsonant(c)), c);
            if (SwapConsonant(c) != c)
                changed += c, changed += SwapConsonant(c);
        }
        QCOMPARE(changed, QStringLiteral("БЩВШГЧДЦЖХЗФКТЛСМРНППНРМСЛТКФЗХЖЦДЧГШВЩБ"
                                         "бщвшгчдцжхзфктлсмрнппнрмслткфзхжцдчгшвщб"));
    }

    void stepsInOrder()
    {
        window.source = QStringLiteral("бв");
        window.result = QStringLiteral("old");
        run();
        const QStringList start{"clear", "Размер текста в символах: 2", "max 2", "disable"};
        QCOMPARE(window.log, start + step("щ", 1, 1) + step("ш", 2, 2) + Ending);
        QCOMPARE(CurrentChar, QStringLiteral("ш"));
        QCOMPARE(RunFlag, False);
        QCOMPARE(AnswerText, QStringLiteral("1"));
    }

    // The open command emptied the source at the first pump: the run goes on
    // to the old length, appending nothing.
    void sourceEmptiedMidRun()
    {
        window.source = QStringLiteral("аа");
        window.atPump = [this](int) { return window.source.clear(), true; };
        run();
        QCOMPARE(window.result, QString());
        QCOMPARE(window.log.mid(3, 10), step("", 0, 1) + step("", 0, 2));
        QCOMPARE(CurrentChar, QString());
    }

    // A stop confirmed at the pump of step k lets step k finish, then ends.
    void stopFinishesTheCurrentCharacter()
    {
        window.source = QStringLiteral("бвгд");
        window.atPump = [this](int pump) { return RunFlag = pump == 2 ? False : RunFlag, true; };
        run();
        QCOMPARE(window.result, QStringLiteral("щш"));
        QCOMPARE(window.log.mid(8), step("ш", 2, 2) + QStringList{"lock"} + Ending);
    }
};

QTEST_APPLESS_MAIN(TransformTest)
#include "tst_transform.moc"
