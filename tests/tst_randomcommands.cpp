// Fires random commands at the main window at random steps of its runs, as an
// impatient user would, and checks after each one that the window agrees with
// what the run must have done so far. Each seed is one reproducible session.

#include "about/frmabout.h"
#include "form1driver.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

namespace {

const QString Done = QStringLiteral("Обработка завершена!");
const QString EnterText = QStringLiteral("Введите текст в поле Оригинал!");
const QString StopQuestion = QStringLiteral("Вы уверены, что хотите остановить процесс?!");
const QString ExitQuestion = QStringLiteral("Вы в процессе обработки! Хотите выйти?!");
const QString NoFileName = QStringLiteral("Имя файла не задано!");

constexpr int RunsPerSeed = 8;
constexpr int SourceFiles = 4;
constexpr int MaxTextLength = 80;

QString sizeCaption(qsizetype count)
{
    return QStringLiteral("Размер текста в символах: %1").arg(count);
}

QString statusText(qsizetype count)
{
    return QStringLiteral("Длина обработанного участка: %1").arg(count);
}

// Russian text with spaces, punctuation and CR LF line breaks.
QString randomText(QRandomGenerator &random, qsizetype length)
{
    static const QString letters = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
                                                  "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ,.!?-");
    QString text;
    while (text.size() < length) {
        if (random.bounded(10) == 0)
            text += QStringLiteral("\r\n");
        else
            text += letters[random.bounded(int(letters.size()))];
    }
    return text;
}

// Windows-1251 for the characters randomText() uses: ASCII, then А to я in
// one block from 0xC0, and Ё, ё apart.
QByteArray cp1251(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            bytes += char(c.unicode());
        else if (c == u'Ё')
            bytes += '\xA8';
        else if (c == u'ё')
            bytes += '\xB8';
        else
            bytes += char(0xC0 + (c.unicode() - u'А'));
    }
    return bytes;
}

// The text box shows every CR LF, lone CR and lone LF as one line break.
QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// What the window must hold, worked out from what the test did to it.
struct Expected
{
    QString source; // T1
    QString result; // T2
    QString sizeCaption = QStringLiteral("Размер текста в символах:");
    QString status = QStringLiteral("Длина обработанного участка:");
    qsizetype total = 0; // characters the current run goes through
    qsizetype steps = 0; // of them done
    bool busy = false;

    void startRun()
    {
        total = source.size();
        steps = 0;
        result.clear();
        sizeCaption = ::sizeCaption(total);
        busy = true;
    }

    // Each step reads its position of T1 as T1 is at that step; past the end
    // of T1 it appends nothing.
    void stepTo(qsizetype count)
    {
        for (; steps < count; ++steps) {
            if (steps < source.size())
                result += SwapConsonant(source[steps]);
            status = statusText(result.size());
        }
    }

    void finishRun(qsizetype lastStep)
    {
        stepTo(lastStep);
        busy = false;
    }
};

// Calls onPump(appended) at every event pump of a run, `appended` being the
// characters appended so far. A run disables Knop before its first pump and
// pumps once before each character; a posted event that reposts itself after
// its handler has returned is delivered once per pump.
class PumpWatcher : public QObject
{
public:
    PumpWatcher(QPushButton *knop, std::function<void(qsizetype)> onPump)
        : knop_(knop), onPump_(std::move(onPump))
    {
        knop_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == knop_ && event->type() == QEvent::EnabledChange) {
            QCoreApplication::removePostedEvents(this, QEvent::User);
            appended_ = 0;
            if (!knop_->isEnabled())
                QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        onPump_(appended_++);
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

private:
    QPushButton *knop_;
    std::function<void(qsizetype)> onPump_;
    qsizetype appended_ = 0;
};

} // namespace

class RandomCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QRandomGenerator> random;
    std::unique_ptr<Form1Driver> ui;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PumpWatcher> watcher;
    Expected expected;
    QStringList sourceTexts;                  // of the files source0.txt, source1.txt, …
    std::map<QString, QByteArray> savedFiles; // what each saved-to file must hold
    QStringList expectedBoxes;                // every box shown so far, in order
    bool stopped = false;                     // in this run, by a confirmed stop

    bool chance(int oneIn) { return random->bounded(oneIn) == 0; }

    void clickOrChoose(const char *button, const char *menuItem)
    {
        if (chance(2))
            ui->click(button);
        else
            ui->choose(menuItem);
    }

    // Does `command`, then checks that it showed exactly `boxes`.
    void expectBoxes(const QStringList &boxes, const std::function<void()> &command)
    {
        expectedBoxes << boxes;
        command();
        QCOMPARE(ui->dialogs.texts(), expectedBoxes);
    }

    // The state of the window's texts and commands, which the run keeps up to
    // date at every step.
    void checkState()
    {
        QCOMPARE(ui->T1()->text(), expected.source);
        QCOMPARE(ui->T2()->text(), expected.result);
        QCOMPARE(ui->busy(), expected.busy);
        QCOMPARE(ui->control<QAction>("MnKod")->isEnabled(), !expected.busy);
        QCOMPARE(ui->T1()->isLocked(), expected.busy);
        QCOMPARE(ui->T2()->isLocked(), expected.busy);
        QVERIFY(!ui->dialogs.ended);
        QVERIFY(ui->form.isVisible());
    }

    // What the user sees; the window brings it up to date before any box or
    // window is shown over it, and at the end of a run.
    void checkDisplay()
    {
        QCOMPARE(ui->T2()->toPlainText(), asShown(expected.result));
        QCOMPARE(ui->caption("L"), expected.sizeCaption);
        QCOMPARE(ui->status(), expected.status);
        QCOMPARE(ui->progress(), expected.busy ? int(expected.steps) : 0);
    }

    // One random command of those that stay available during a run.
    void commandMidRun(qsizetype appended)
    {
        expected.stepTo(appended);
        switch (random->bounded(8)) {
        case 0: // refused: the run is in progress
            expectBoxes({}, [&] {
                clickOrChoose("Knop", "MnKod");
                // A click on a disabled menu item leaves the menu open.
                if (QWidget *menu = QApplication::activePopupWidget())
                    QTest::keyClick(menu, Qt::Key_Escape);
            });
            break;
        case 1:
            stopped = chance(4);
            ui->dialogs.answers = {stopped ? MsgBox::Yes : MsgBox::No};
            expectBoxes({StopQuestion}, [&] { clickOrChoose("Command3", "MnStp"); });
            break;
        case 2:
            ui->dialogs.answers = {MsgBox::No};
            expectBoxes({ExitQuestion}, [&] {
                if (chance(2))
                    ui->choose("MnExit");
                else
                    QVERIFY(!ui->form.close());
            });
            break;
        case 3:
        case 4:
            open();
            break;
        case 5:
        case 6:
            save();
            break;
        case 7:
            expectBoxes({}, [&] { showAbout(); });
            break;
        }
        checkState();
    }

    // Opens one of the source files, or cancels the dialog.
    void open()
    {
        const int file = random->bounded(SourceFiles + 1);
        if (file == SourceFiles) {
            ui->dialogs.fileNames = {};
        } else {
            ui->dialogs.fileNames = {dir->filePath(QStringLiteral("source%1.txt").arg(file))};
            expected.source = sourceTexts[file];
        }
        expectBoxes({}, [&] { clickOrChoose("Command2", "MnOpen"); });
    }

    // Appends the result to one of two files, or cancels the dialog.
    void save()
    {
        if (chance(4)) {
            ui->dialogs.fileNames = {};
            expectBoxes({NoFileName}, [&] { clickOrChoose("Command1", "MnSave"); });
            QCOMPARE(ui->dialogs.shown.last().title, QStringLiteral("Вельтор!"));
            return;
        }
        const QString path = dir->filePath(QStringLiteral("result%1.txt").arg(chance(2)));
        ui->dialogs.fileNames = {path};
        expectBoxes({}, [&] { clickOrChoose("Command1", "MnSave"); });
        savedFiles[path] += cp1251(expected.result) + "\r\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), savedFiles[path]);
    }

    // Opens the About window from the menu and closes it with Esc.
    void showAbout()
    {
        bool shown = false;
        QTimer closer; // gone with this call, should the window not wait for it
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget *about = QApplication::activeModalWidget();
            shown = qobject_cast<frmAbout *>(about) != nullptr;
            checkDisplay();
            if (about)
                QTest::keyClick(about, Qt::Key_Escape);
        });
        closer.start(0);
        ui->choose("mnuAbout");
        QVERIFY(shown);
    }

    // Between runs the user opens a file or adds to the source by typing.
    void changeSourceWhileIdle()
    {
        if (chance(2)) {
            open();
            return;
        }
        const QString typed = randomText(*random, random->bounded(1, 8));
        ui->T1()->moveCursor(QTextCursor::End);
        ui->type(ui->T1(), typed);
        expected.source += typed;
    }

    void run()
    {
        const bool empty = expected.source.isEmpty();
        if (!empty)
            expected.startRun();
        stopped = false;
        clickOrChoose("Knop", "MnKod");
        expectedBoxes << (empty ? EnterText : Done);
        QCOMPARE(ui->dialogs.texts(), expectedBoxes);
        checkState();
        checkDisplay();
    }

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
        random = std::make_unique<QRandomGenerator>(seed);
        ui = std::make_unique<Form1Driver>();
        dir = std::make_unique<QTemporaryDir>();
        expected = {};
        expectedBoxes.clear();
        savedFiles.clear();
        sourceTexts.clear();
        for (int i = 0; i < SourceFiles; ++i) {
            // The first file is empty.
            sourceTexts << randomText(*random, i == 0 ? 0 : random->bounded(MaxTextLength));
            QFile file(dir->filePath(QStringLiteral("source%1.txt").arg(i)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(cp1251(sourceTexts.last()));
        }

        watcher = std::make_unique<PumpWatcher>(ui->button("Knop"), [&](qsizetype appended) {
            if (!stopped && !QTest::currentTestFailed() && chance(3))
                commandMidRun(appended);
        });
        // Every box is shown over the window as the run has left it. After a
        // confirmed stop the run finishes the character in progress.
        ui->dialogs.whileShown = [&](const ScriptedDialogs::Box &box) {
            if (box.text == Done)
                expected.finishRun(stopped ? expected.steps + 1 : expected.total);
            checkDisplay();
        };

        for (int i = 0; i < RunsPerSeed && !QTest::currentTestFailed(); ++i) {
            changeSourceWhileIdle();
            run();
        }
    }

    void cleanup()
    {
        watcher.reset();
        ui.reset();
        dir.reset();
    }
};

QTEST_MAIN(RandomCommandsTest)
#include "tst_randomcommands.moc"
