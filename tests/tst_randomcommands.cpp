// Fires random commands at the main window at random steps of its runs, as an
// impatient user would, and checks after each one that the window agrees with
// what the run must have done so far. Each seed is one reproducible session.

#include "about/frmabout.h"
#include "form1driver.h"
#include "mainwindow/cp1251.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

struct Session
{
    QRandomGenerator random;
    Form1Driver ui;
    QTemporaryDir dir;
    const QString sourcePath = dir.filePath("source.txt"), resultPath = dir.filePath("result.txt");
    std::vector<std::unique_ptr<AfterCharacters>> triggers;
    // What the window must show, worked out from what the test did to it.
    QString source, result, caption = QStringLiteral("Размер текста в символах:"),
                            status = QStringLiteral("Длина обработанного участка:");
    QStringList boxes; // every box shown so far
    QByteArray saved;  // what result.txt must hold
    qsizetype total = 0, steps = 0;
    bool busy = false, stopped = false, aboutShown = false;

    explicit Session(quint32 seed) : random(seed) {}
    bool chance(int oneIn) { return random.bounded(oneIn) == 0; }
    void clickOrChoose(const char *b, const char *item)
    {
        chance(2) ? ui.click(b) : ui.choose(item);
    }

    // Step i of a run reads position i of T1 as T1 stands at that step.
    void stepTo(qsizetype count)
    {
        for (; steps < count; ++steps) {
            if (steps < source.size())
                result += SwapConsonant(source[steps]);
            status = QStringLiteral("Длина обработанного участка: %1").arg(result.size());
        }
    }

    // The display is brought up to date only before a box or window is shown.
    void check(bool display = false)
    {
        QCOMPARE(ui.dialogs.texts(), boxes);
        QCOMPARE(ui.T1()->text(), source);
        QCOMPARE(ui.T2()->text(), result);
        QCOMPARE(ui.busy(), busy);
        QCOMPARE(ui.control<QAction>("MnKod")->isEnabled(), !busy);
        QVERIFY(!ui.dialogs.ended && ui.form.isVisible());
        if (!display)
            return;
        // CR LF, and a CR still waiting for its LF, show as a line break.
        QCOMPARE(ui.T2()->toPlainText(), QString(result).replace("\r\n", "\n").replace('\r', '\n'));
        QCOMPARE(ui.caption("L"), caption);
        QCOMPARE(ui.status(), status);
        QCOMPARE(ui.progress(), busy ? int(steps) : 0);
    }

    // Opens a new Windows-1251 file, or cancels the dialog.
    void open()
    {
        const bool cancel = chance(5);
        ui.dialogs.fileNames = {cancel ? QString() : sourcePath};
        if (!cancel) {
            QFile file(sourcePath);
            // Pieces of a pangram with CR LF line breaks, now and then empty.
            static const QString text = QStringLiteral(
                "Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!\r\n");
            source = text.mid(random.bounded(text.size()), chance(4) ? 0 : random.bounded(80));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(encodeCp1251(source)) >= 0);
        }
        clickOrChoose("Command2", "MnOpen");
    }

    // A random command at the pump before step `at` + 1 of the run, then the next a few steps on.
    void commandAfter(qsizetype from)
    {
        const qsizetype at = from + random.bounded(3);
        triggers.push_back(
            std::make_unique<AfterCharacters>(at - from, [=, this] { command(at); }));
    }
    void command(qsizetype at)
    {
        stepTo(at);
        switch (random.bounded(6)) {
        case 0: // refused; a click on a disabled menu item leaves the menu open
            clickOrChoose("Knop", "MnKod");
            if (QWidget *menu = QApplication::activePopupWidget())
                QTest::keyClick(menu, Qt::Key_Escape);
            break;
        case 1:
            stopped = chance(4);
            ui.dialogs.answers = {stopped ? MsgBox::Yes : MsgBox::No};
            boxes << QStringLiteral("Вы уверены, что хотите остановить процесс?!");
            clickOrChoose("Command3", "MnStp");
            break;
        case 2:
            ui.dialogs.answers = {MsgBox::No};
            boxes << QStringLiteral("Вы в процессе обработки! Хотите выйти?!");
            chance(2) ? ui.choose("MnExit") : void(ui.form.close());
            break;
        case 3:
            open();
            break;
        case 4: { // appends the result so far and CR LF to the file, unless cancelled
            const bool cancel = chance(4);
            ui.dialogs.fileNames = {cancel ? QString() : resultPath};
            boxes << (cancel ? QStringList{QStringLiteral("Имя файла не задано!")} : QStringList());
            saved += cancel ? QByteArray() : encodeCp1251(result) + "\r\n";
            clickOrChoose("Command1", "MnSave");
            QFile file(resultPath);
            QVERIFY(file.open(QIODevice::ReadOnly) || saved.isEmpty());
            QCOMPARE(file.readAll(), saved);
            break;
        }
        default: // About, closed with Esc
            aboutShown = false;
            QTimer::singleShot(0, &ui.form, [this] {
                QWidget *about = QApplication::activeModalWidget();
                aboutShown = qobject_cast<frmAbout *>(about) != nullptr;
                check(true);
                if (about)
                    QTest::keyClick(about, Qt::Key_Escape);
            });
            ui.choose("mnuAbout");
            QVERIFY(aboutShown);
        }
        check();
        commandAfter(at + 1); // never comes after a confirmed stop
    }

    void play()
    {
        // Every box is shown over the window as the run has left it. A
        // confirmed stop lets the run finish the character in progress.
        ui.dialogs.whileShown = [this](const ScriptedDialogs::Box &box) {
            if (busy && box.text == QStringLiteral("Обработка завершена!")) {
                stepTo(stopped ? steps + 1 : total);
                busy = false;
                boxes << box.text;
            }
            check(true);
        };
        for (int run = 0; run < 8 && !QTest::currentTestFailed(); ++run) {
            open();
            if (source.isEmpty()) {
                boxes << QStringLiteral("Введите текст в поле Оригинал!");
            } else {
                total = source.size();
                steps = 0;
                result.clear();
                caption = QStringLiteral("Размер текста в символах: %1").arg(total);
                busy = true;
                commandAfter(0);
            }
            stopped = false;
            clickOrChoose("Knop", "MnKod");
            triggers.clear();
            check(true);
        }
    }
};

class RandomCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void commandsMidRun_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 42u, 1000u, 31337u, 65535u, 4000000007u})
            QTest::addRow("seed %u", seed) << seed;
    }

    void commandsMidRun()
    {
        QFETCH(quint32, seed);
        Session(seed).play();
    }
};

QTEST_MAIN(RandomCommandsTest)
#include "tst_randomcommands.moc"
