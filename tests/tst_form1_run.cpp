#include "form1driver.h"

#include <QTimer>

#include <memory>

namespace {
const QString Done = QStringLiteral("Обработка завершена!");
const QString StopQuestion = QStringLiteral("Вы уверены, что хотите остановить процесс?!");
const QString ExitQuestion = QStringLiteral("Вы в процессе обработки! Хотите выйти?!");
const QString Source = QStringLiteral("Съешь же ещё этих мягких\r\nфранцузских булок");
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

    QString swapped(const QString &text)
    {
        QString result = text;
        for (QChar &c : result)
            c = SwapConsonant(c);
        return result;
    }

private slots:
    void init()
    {
        ui = std::make_unique<Form1Driver>();
        trigger.reset();
    }
    void cleanup() { ui.reset(); }

    void runTransformsTypedText()
    {
        ui->type(ui->T1(), QStringLiteral("Привет, мир!"));
        ui->click("Knop");

        QCOMPARE(ui->T2()->text(), QStringLiteral("Нмишек, рим!"));
        QCOMPARE(Form1Driver::shown(ui->T2()), QStringLiteral("Нмишек, рим!"));
        QCOMPARE(ui->caption("L"), QStringLiteral("Размер текста в символах: 12"));
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: 12"));
        QCOMPARE(ui->progress(), 0);
        QCOMPARE(ui->dialogs.texts(), QStringList{Done});
        QCOMPARE(ui->dialogs.shown[0].style, 48);
        QCOMPARE(ui->dialogs.shown[0].title, QStringLiteral("Вельтор"));
        QCOMPARE(ui->form.answerText(), QStringLiteral("1"));
        QVERIFY(!ui->busy());
        QVERIFY(ui->control<QAction>("MnKod")->isEnabled());
        QVERIFY(!ui->T1()->isLocked());
        QVERIFY(!ui->T2()->isLocked());
    }

    void runOnItsOwnResultGivesTheSourceBack()
    {
        ui->type(ui->T1(), Source);
        ui->click("Knop");
        const QString coded = ui->T2()->text();
        QCOMPARE(coded, swapped(Source));

        // The user copies the result into the source box and runs again.
        ui->T1()->selectAll();
        ui->type(ui->T1(), coded);
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), Source);
    }

    void lineBreaksCountAsTwoCharacters()
    {
        ui->type(ui->T1(), QStringLiteral("б\r\nв"));
        QCOMPARE(ui->T1()->text(), QStringLiteral("б\r\nв"));
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), QStringLiteral("щ\r\nш"));
        QCOMPARE(ui->caption("L"), QStringLiteral("Размер текста в символах: 4"));
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: 4"));
    }

    void oneCharacter()
    {
        ui->type(ui->T1(), QStringLiteral("б"));
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), QStringLiteral("щ"));
        QCOMPARE(ui->caption("L"), QStringLiteral("Размер текста в символах: 1"));
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: 1"));
    }

    void emptySourceOnlyAsksForText()
    {
        ui->type(ui->T1(), QStringLiteral("мир"));
        ui->click("Knop");
        ui->T1()->selectAll();
        QTest::keyClick(ui->T1(), Qt::Key_Delete);
        ui->dialogs.shown.clear();

        ui->click("Knop");
        QCOMPARE(ui->dialogs.texts(),
                 QStringList{QStringLiteral("Введите текст в поле Оригинал!")});
        QCOMPARE(ui->dialogs.shown[0].style, 48);
        QCOMPARE(ui->T2()->text(), QStringLiteral("рим"));
        QCOMPARE(ui->caption("L"), QStringLiteral("Размер текста в символах: 3"));
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: 3"));
        QVERIFY(!ui->busy());
    }

    void newRunClearsThePreviousResult()
    {
        ui->type(ui->T1(), QStringLiteral("длинный текст"));
        ui->click("Knop");
        ui->T1()->selectAll();
        ui->type(ui->T1(), QStringLiteral("да"));
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), QStringLiteral("ца"));
        QCOMPARE(Form1Driver::shown(ui->T2()), QStringLiteral("ца"));
    }

    void duringTheRunTheWindowIsBusyAndShowsTheTextSoFar()
    {
        ui->type(ui->T1(), Source);
        bool checked = false;
        after(5, [&] {
            QVERIFY(ui->busy());
            QVERIFY(!ui->control<QAction>("MnKod")->isEnabled());
            QVERIFY(ui->T1()->isLocked() && ui->T2()->isLocked());
            // Neither the button nor the menu item starts a second run.
            ui->click("Knop");
            ui->choose("MnKod");
            ui->click("Command3");
            checked = true;
        });
        ui->dialogs.answers = {MsgBox::No};
        ui->dialogs.whileShown = [&](const ScriptedDialogs::Box &box) {
            if (box.text == StopQuestion) {
                QCOMPARE(ui->T2()->text(), swapped(Source.left(5)));
                QCOMPARE(Form1Driver::shown(ui->T2()), swapped(Source.left(5)));
                QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: 5"));
                QCOMPARE(ui->progress(), 5);
                // The result is shown from its beginning.
                QCOMPARE(ui->T2()->textCursor().position(), 0);
            }
        };
        ui->click("Knop");
        QVERIFY(checked);
        QCOMPARE(ui->dialogs.texts(), (QStringList{StopQuestion, Done}));
        QCOMPARE(ui->T2()->text(), swapped(Source));
    }

    void stopAnsweredYesFinishesTheCharacterInProgress_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("at once, button") << 0 << false;
        QTest::newRow("after 1, menu") << 1 << true;
        QTest::newRow("after 7, button") << 7 << false;
        QTest::newRow("before the last, menu") << int(Source.size() - 1) << true;
    }
    void stopAnsweredYesFinishesTheCharacterInProgress()
    {
        QFETCH(int, k);
        QFETCH(bool, fromMenu);
        ui->type(ui->T1(), Source);
        ui->dialogs.answers = {MsgBox::Yes};
        after(k, [&] { fromMenu ? ui->choose("MnStp") : ui->click("Command3"); });
        ui->click("Knop");

        QCOMPARE(ui->T2()->text(), swapped(Source.left(k + 1)));
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка: %1").arg(k + 1));
        QCOMPARE(ui->progress(), 0);
        QCOMPARE(ui->dialogs.texts(), (QStringList{StopQuestion, Done}));
        QCOMPARE(ui->dialogs.shown[0].style, 4);
        QVERIFY(!ui->busy());

        // The next run is a complete one.
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), swapped(Source));
    }

    void stopAnsweredNoLetsTheRunFinish()
    {
        ui->type(ui->T1(), Source);
        ui->dialogs.answers = {MsgBox::No};
        after(3, [&] { ui->choose("MnStp"); });
        ui->click("Knop");
        QCOMPARE(ui->T2()->text(), swapped(Source));
        QCOMPARE(ui->dialogs.texts(), (QStringList{StopQuestion, Done}));
    }

    void aboutWindowHoldsTheRunUntilClosed()
    {
        ui->type(ui->T1(), Source);
        QString title;
        qsizetype grownWhileOpen = -1;
        after(3, [&] {
            QTimer::singleShot(0, [&] {
                QWidget *about = QApplication::activeModalWidget();
                QVERIFY(about);
                title = about->windowTitle();
                const qsizetype before = ui->T2()->text().size();
                for (int i = 0; i < 10; ++i)
                    QCoreApplication::processEvents();
                grownWhileOpen = ui->T2()->text().size() - before;
                QTest::keyClick(about, Qt::Key_Escape);
            });
            ui->choose("mnuAbout");
        });
        ui->click("Knop");
        QCOMPARE(title, QStringLiteral("About Вельтор"));
        QCOMPARE(grownWhileOpen, 0);
        QCOMPARE(ui->T2()->text(), swapped(Source));
        QCOMPARE(ui->dialogs.texts(), QStringList{Done});
    }

    void stopWhenIdleDoesNothing()
    {
        ui->click("Command3");
        ui->choose("MnStp");
        QVERIFY(ui->dialogs.shown.isEmpty());
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
        QCOMPARE(ui->form.answerText(), QStringLiteral("1"));
        QVERIFY(!ui->dialogs.ended);
        QVERIFY(ui->form.isVisible());
        QCOMPARE(ui->T2()->text(), swapped(Source));

        // Yes: the program ends where the run stands, without the notice.
        ui->dialogs.shown.clear();
        ui->dialogs.answers = {MsgBox::Yes};
        after(4, leave);
        ui->click("Knop");
        QCOMPARE(ui->dialogs.texts(), QStringList{ExitQuestion});
        QCOMPARE(ui->form.answerText(), QStringLiteral("6"));
        QVERIFY(ui->dialogs.ended);
        QVERIFY(!ui->form.isVisible());
        QCOMPARE(ui->T2()->text(), swapped(Source.left(4)));
    }

    void exitWhenIdleEndsWithoutAQuestion()
    {
        ui->choose("MnExit");
        QVERIFY(ui->dialogs.ended);
        QVERIFY(ui->dialogs.shown.isEmpty());
    }

    void closingWhenIdleEndsWithoutAQuestion()
    {
        QVERIFY(ui->form.close());
        QVERIFY(ui->dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(Form1RunTest)
#include "tst_form1_run.moc"
