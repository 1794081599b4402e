#include "form1driver.h"

#include <QTimer>

#include <algorithm>
#include <numeric>

#include <memory>

namespace {
const QString Done = QStringLiteral("Обработка завершена!");
const QString StopQuestion = QStringLiteral("Вы уверены, что хотите остановить процесс?!");
const QString ExitQuestion = QStringLiteral("Вы в процессе обработки! Хотите выйти?!");
const QString Source = QStringLiteral("Съешь же ещё этих мягких\r\nфранцузских булок");

// A sentence over and over up to `size` characters, with or without line breaks.
QString book(qsizetype size, const QString &separator)
{
    QString text;
    while (text.size() < size)
        text += QStringLiteral("Съешь же ещё этих мягких французских булок.") + separator;
    text.truncate(size);
    return text;
}

QString withCount(const char *caption, qsizetype count)
{
    return QString::fromUtf8(caption) + QStringLiteral(" %1").arg(count);
}
} // namespace

class Form1RunTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form1Driver> ui;
    std::unique_ptr<AfterCharacters> trigger;

    // Does `action` once `count` characters of the next run have been appended.
    void after(qsizetype count, std::function<void()> action)
    {
        trigger = std::make_unique<AfterCharacters>(count, std::move(action));
    }

    static QString swapped(const QString &text) { return Form1Driver::swapped(text); }

private slots:
    void init()
    {
        ui = std::make_unique<Form1Driver>();
        trigger.reset();
    }
    void cleanup() { ui.reset(); }

    void runShowsTheWholeResult_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("result");
        QTest::newRow("greeting") << "Привет, мир!"
                                  << "Нмишек, рим!";
        QTest::newRow("line break counts two") << "б\r\nв"
                                               << "щ\r\nш";
        QTest::newRow("one line of 20,000") << book(20'000, " ") << "";
        QTest::newRow("5,000 in lines") << book(5'000, "\r\n") << "";
    }
    void runShowsTheWholeResult()
    {
        QFETCH(QString, source);
        QFETCH(QString, result);
        if (result.isEmpty())
            result = swapped(source);
        if (source.size() < 100)
            ui->type(ui->T1(), source);
        else
            ui->T1()->setText(source);
        QString shownAtNotice;
        ui->dialogs.whileShown = [&](const ScriptedDialogs::Box &) {
            shownAtNotice = Form1Driver::shown(ui->T2());
        };
        ui->click("Knop");

        QCOMPARE(ui->T1()->text(), source);
        QCOMPARE(ui->T2()->text(), result);
        QCOMPARE(shownAtNotice, result);
        QCOMPARE(ui->T2()->textCursor().position(), 0);
        QCOMPARE(ui->caption("L"), withCount("Размер текста в символах:", source.size()));
        QCOMPARE(ui->control("L")->size(), ui->control("L")->sizeHint()); // the whole caption
        QCOMPARE(ui->status(), withCount("Длина обработанного участка:", source.size()));
        QCOMPARE(ui->progress(), 0);
        QCOMPARE(ui->dialogs.texts(), QStringList{Done});
        QCOMPARE(ui->dialogs.shown[0].style, 48);
        QCOMPARE(ui->dialogs.shown[0].title, QStringLiteral("Вельтор"));
        QCOMPARE(ui->form.answerText(), QStringLiteral("1"));
        QVERIFY(!ui->busy() && ui->control<QAction>("MnKod")->isEnabled());
        QVERIFY(!ui->T1()->isLocked() && !ui->T2()->isLocked());
        QCOMPARE(ui->form.focusWidget(), ui->button("Knop"));
    }

    // Each step's count and progress value are painted before the next step
    // changes them; a repaint for another reason may show one twice.
    void everyStepIsPainted()
    {
        struct PaintLog : QObject
        {
            QList<int> counts, values;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() != QEvent::Paint)
                    return false;
                if (auto *bar = qobject_cast<QStatusBar *>(watched))
                    counts << bar->currentMessage().section(QLatin1Char(' '), -1).toInt();
                else
                    values << qobject_cast<QProgressBar *>(watched)->value();
                return false;
            }
        } log;
        ui->control("Bar")->installEventFilter(&log);
        ui->control("Pr")->installEventFilter(&log);
        ui->T1()->setText(book(300, "\r\n"));
        ui->click("Knop");

        QList<int> everyStep(300);
        std::iota(everyStep.begin(), everyStep.end(), 1);
        for (QList<int> painted : {log.counts, log.values}) {
            painted.removeAll(0);
            QVERIFY(std::is_sorted(painted.begin(), painted.end()));
            painted.erase(std::unique(painted.begin(), painted.end()), painted.end());
            QCOMPARE(painted, everyStep);
        }
    }

    void stopAnsweredYesFinishesTheCharacterInProgress_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("at once, button") << 0 << false;
        QTest::newRow("after 7, menu") << 7 << true;
    }
    void stopAnsweredYesFinishesTheCharacterInProgress()
    {
        QFETCH(int, k);
        QFETCH(bool, fromMenu);
        ui->T1()->setText(Source);
        ui->dialogs.answers = {MsgBox::Yes};
        after(k, [&] {
            QVERIFY(ui->T1()->isLocked() && ui->T2()->isLocked());
            fromMenu ? ui->choose("MnStp") : ui->click("Command3");
            QCOMPARE(ui->progress(), 0);
        });
        ui->click("Knop");

        QCOMPARE(ui->T2()->text(), swapped(Source.left(k + 1)));
        QCOMPARE(ui->status(), withCount("Длина обработанного участка:", k + 1));
        QCOMPARE(ui->progress(), 0);
        QCOMPARE(ui->dialogs.texts(), (QStringList{StopQuestion, Done}));
        QCOMPARE(ui->dialogs.shown[0].style, 4);
        QVERIFY(!ui->busy());
        QCOMPARE(ui->form.focusWidget(), ui->button("Knop"));
        ui->click("Knop"); // the next run is a complete one
        QCOMPARE(ui->T2()->text(), swapped(Source));
    }

    void exitDuringRun_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("Выход") << false;
        QTest::newRow("close button") << true;
    }
    void exitDuringRun()
    {
        QFETCH(bool, byClosing);
        auto leave = [&] { byClosing ? void(ui->form.close()) : ui->choose("MnExit"); };

        // No: the run goes on to the end.
        ui->type(ui->T1(), Source);
        ui->dialogs.answers = {MsgBox::No};
        after(4, leave);
        ui->click("Knop");
        QCOMPARE(ui->dialogs.texts(), (QStringList{ExitQuestion, Done}));
        QVERIFY(!ui->dialogs.ended && ui->form.isVisible());
        QCOMPARE(ui->T2()->text(), swapped(Source));

        // Yes: the program ends where the run stands, without the notice.
        ui->dialogs.shown.clear();
        ui->dialogs.answers = {MsgBox::Yes};
        after(4, leave);
        ui->click("Knop");
        QCOMPARE(ui->dialogs.texts(), QStringList{ExitQuestion});
        QCOMPARE(ui->form.answerText(), QStringLiteral("6"));
        QVERIFY(ui->dialogs.ended && !ui->form.isVisible());
        QCOMPARE(ui->T2()->text(), swapped(Source.left(4)));
    }

    void idleCommandsAskNothing()
    {
        ui->click("Command3");
        ui->choose("MnStp");
        QVERIFY(ui->form.close());
        QVERIFY(!ui->dialogs.ended); // the last window closed ends the program
        ui->choose("MnExit");
        QVERIFY(ui->dialogs.ended);
        QVERIFY(ui->dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(Form1RunTest)
#include "tst_form1_run.moc"
