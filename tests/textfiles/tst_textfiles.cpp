#include "form1driver.h"
#include "textfiles/cp1251.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#endif

namespace {

const QByteArray Bom = "\xef\xbb\xbf";
const QString NotAFile = QStringLiteral("Это не обычный файл, а канал, сокет или устройство");
const QString Existing = QStringLiteral("B/отчёт \"финал\".txt");

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes + "последняя строка без перевода"; // UTF-8 here, just more bytes
}

// Every character up to Cyrillic, and some of three and four bytes in UTF-8.
QString sample()
{
    QString text;
    for (char16_t c = 0; c < 0x500; ++c)
        text += QChar(c);
    return text + QStringLiteral("中文 € \uFEFF 😀 \U0010FFFF конец");
}

// The text with a byte-order mark, in UTF-16 of either byte order.
QByteArray marked(QStringConverter::Encoding encoding, const QString &text)
{
    return QStringEncoder(encoding).encode(QChar(QChar::ByteOrderMark) + text);
}

// The names a file dialog's list shows.
QStringList listedIn(const QFileDialog *dialog)
{
    const auto *list = dialog->findChild<QListView *>("listView");
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
    return names;
}

} // namespace

class TextFilesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form1Driver> ui;
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString &name) const { return dir->filePath(name); }

    // In a folder made for it when it lacks one.
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QDir().mkpath(QFileInfo(file).path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A name is taken in the temporary folder, unless it is a full path.
    QByteArray read(const QString &name) const
    {
        QFile file(QDir(dir->path()).filePath(name));
        return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                          : "<missing>";
    }

    void open(const QString &fileName)
    {
        ui->dialogs.fileNames = {fileName};
        ui->choose("MnOpen");
    }

    void save(const QString &fileName)
    {
        ui->dialogs.fileNames = {fileName};
        ui->choose("MnSave");
    }

    void run() { ui->click("Knop"); }

    // Drops a file manager's offer, or text, on a control, with Shift held,
    // which asks for a move: a file must be copied, or the source would go.
    static void drop(QWidget *on, const QList<QUrl> &urls, const QString &text = {})
    {
        QMimeData data;
        data.setUrls(urls);
        data.setText(urls.isEmpty() ? text : urls[0].toString());
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter({}, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
        QDropEvent dropped({}, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(on, &enter), QApplication::sendEvent(on, &dropped);
        QVERIFY(urls.isEmpty() || dropped.dropAction() == Qt::CopyAction);
        QCoreApplication::processEvents(); // a dropped file opens after the drop
    }

private slots:
    void init()
    {
        ui = std::make_unique<Form1Driver>();
        dir = std::make_unique<QTemporaryDir>();
        // A file command prints nothing to the terminal; the offscreen
        // platform and the fonts note what they cannot do, which is not ours.
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!\\s*(This plugin does not support|OpenType support missing))")));
    }
    void cleanup()
    {
        ui.reset();
#ifndef _WIN32
        umount2(QFile::encodeName(path("small")).constData(), MNT_DETACH);
#endif
        dir.reset();
    }

    // Saving appends the result and a line break, to a new file too; a
    // cancelled dialog changes nothing.
    void savingAppendsCancellingChangesNothing()
    {
        ui->type(ui->T1(), QStringLiteral("Привет, мир!"));
        open(QString());
        save(QString());
        QCOMPARE(ui->T1()->text(), QStringLiteral("Привет, мир!"));
        QCOMPARE(ui->dialogs.texts(), QStringList{QStringLiteral("Имя файла не задано!")});
        QVERIFY(ui->dialogs.shown[0].title == QStringLiteral("Вельтор!") &&
                ui->dialogs.shown[0].style == MsgBox::Exclamation);
        QVERIFY(QDir(dir->path()).isEmpty());

        save(path("out")); // a name without an extension is used as it is
        run();
        ui->dialogs.fileNames = {path("out")};
        ui->click("Command1");
        QCOMPARE(read("out"), QByteArray("\r\n\xcd\xec\xe8\xf8\xe5\xea, \xf0\xe8\xec!\r\n"));
    }

    // The user's text gives way to the file's, in the encoding it is in, and
    // comes back with Ctrl+Z.
    void openingShowsTheText()
    {
        const QString hello = QStringLiteral("Привет,\r\nмир!");
        const QString prose = QStringLiteral("«Возьми её», — сказал он. Ёлка в зале № 7.\r\n"
                                             "ЁЖИК В ТУМАНЕ — «ВСЁ».");
        const QList<std::pair<QByteArray, QString>> files{
            {"\xcf\xf0\xe8\xe2\xe5\xf2,\r\n\xec\xe8\xf0!", hello},    // Windows-1251
            {"\xc5\xa8 \xc2\xab\xc4\x97", QStringLiteral("ЕЁ В«Д—")}, // valid UTF-8 too
            {encodeCp1251(prose), prose},
            {"Caf\xc3\xa9 na\xc3\xafve", QStringLiteral("Café naïve")},
            {"\x80\x90\x98\xa0\xb0\xc0\xd0\xe0\xf0\xff", QStringLiteral("Ђђ\u0098\u00A0°АРаря")},
            {"\xe2\x82\xac", QStringLiteral("€")},
            {QStringLiteral("नमस्ते").toUtf8(), QStringLiteral("नमस्ते")}, // E0 starts each
            {Bom + "мир\xd0", QStringLiteral("мир\uFFFD")},            // a broken end
            {marked(QStringConverter::Utf16BE, hello), hello},
            {{}, {}}};
        for (const auto &[bytes, text] : files) {
            ui->type(ui->T1(), QStringLiteral("мой текст"));
            const QString typed = ui->T1()->text();
            write("text.txt", bytes);
            open(path("text.txt"));
            QCOMPARE(ui->T1()->text(), text);
            QCOMPARE(Form1Driver::shown(ui->T1()), text);
            QTest::keyClick(ui->T1(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(ui->T1()->text(), typed);
        }
        QVERIFY(ui->dialogs.shown.isEmpty());
    }

    // A file from a file manager opens wherever it is dropped, as Открыть
    // opens it; dropped text is inserted. During a run the run goes on over
    // the new text, up to the old text's length.
    void droppedFilesOpenDroppedTextIsInserted()
    {
        write("a.txt", "\xe0\xe1");
        const QUrl file = QUrl::fromLocalFile(path("a.txt"));
        drop(ui->T1()->viewport(), {}, QStringLiteral("мой"));
        ui->after(1, [&] { drop(ui->button("Knop"), {file}); });
        run();
        QCOMPARE(ui->shownState().mid(0, 2), (QStringList{"аб", Form1Driver::swapped("мб")}));
        drop(ui->T2()->viewport(), {file, file});
        drop(ui->control("Pr"), {QUrl(QStringLiteral("https://example.org/a.txt"))});
        QCOMPARE(ui->dialogs.texts().mid(1),
                 (QStringList{"Открывается один файл, а перетащено файлов: 2.",
                              "«https://example.org/a.txt» — не файл на этом компьютере."}));
    }

    // Opened, coded, saved, opened, decoded and saved: the bytes come back.
    void everyByteSurvivesOpenRunSaveTwice_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("saveTo"); // what the files saved to hold before
        QTest::addColumn<QByteArray>("decoded");
        const QByteArray line = "\xc5\xa8\r\n"; // «ЕЁ», valid UTF-8 too
        QTest::newRow("Windows-1251")
            << allByteValues() << line << line + line + allByteValues() + "\r\n\r\n";
        const QByteArray utf8 = sample().toUtf8();
        QTest::newRow("UTF-8") << utf8 << Bom << Bom + utf8 + "\r\n\r\n";
        const QByteArray damaged = "Всё \xe2\x82хорошо\xd0"; // cut short inside and at the end
        const QString shown = QStringLiteral("Всё \uFFFDхорошо\uFFFD");
        QTest::newRow("UTF-8, damaged")
            << damaged << damaged
            << damaged + (Form1Driver::swapped(shown) + shown + "\r\n\r\n").toUtf8();
        QTest::newRow("UTF-16") << marked(QStringConverter::Utf16LE, sample())
                                << marked(QStringConverter::Utf16LE, {})
                                << marked(QStringConverter::Utf16LE, sample() + "\r\n\r\n");
    }
    void everyByteSurvivesOpenRunSaveTwice()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, saveTo);
        QFETCH(QByteArray, decoded);
        write("original.txt", original);
        write("coded.txt", saveTo);
        write("decoded.txt", saveTo);
        for (const char *from : {"original.txt", "coded.txt"}) {
            open(path(from));
            run();
            save(path(from == QLatin1String("original.txt") ? "coded.txt" : "decoded.txt"));
        }
        // Each save added a line break, which the second run passed through.
        QCOMPARE(read("decoded.txt"), decoded);
        // No question about characters Windows-1251 lacks when writing Unicode.
        QCOMPARE(ui->dialogs.texts(), QStringList(2, QStringLiteral("Обработка завершена!")));
    }

    void failuresAreReportedAndChangeNothing_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        const QString missing = QStringLiteral("Нет такого файла или каталога");
        const QString folder = QStringLiteral("Это папка, а не файл");
        const QString full = QStringLiteral("Нет свободного места на устройстве");
        QTest::newRow("open missing") << false << "gone.txt" << missing;
        QTest::newRow("open folder") << false << "folder.txt" << folder;
        QTest::newRow("open a pipe nobody writes to") << false << "pipe.txt" << NotAFile;
        QTest::newRow("save to a vanished folder") << true << "gone/out.txt" << missing;
        QTest::newRow("save to a folder") << true << "folder.txt" << folder;
        QTest::newRow("save to a pipe nobody reads") << true << "pipe.txt" << NotAFile;
        QTest::newRow("save to a full disk") << true << "/dev/full" << full;
        QTest::newRow("save to a new file, disk full") << true << "small/new.txt" << full;
        QTest::newRow("save to a file, disk full after a byte") << true << "small/old.txt" << full;
        QTest::newRow("open a name that is not UTF-8, as Qt reads it")
            << false << "bad\uFFFD\uFFFD.txt"
            << "Имя файла не читается в кодировке системы (UTF-8): переименуйте файл";
        QTest::newRow("save to UTF-16 with a stray byte")
            << true << "odd.txt"
            << "В файле UTF-16 нечётное число байтов: дописанный текст не прочитался бы";
    }
    void failuresAreReportedAndChangeNothing()
    {
        QFETCH(bool, saving);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QDir(dir->path()).mkdir(QStringLiteral("folder.txt"));
        const QString file = QDir(dir->path()).filePath(target);
        const bool small = target.startsWith(QLatin1String("small/"));
#ifdef _WIN32
        if (target.startsWith(QLatin1Char('/')) || target == QLatin1String("pipe.txt") || small ||
            target.startsWith(QLatin1String("bad")))
            QSKIP("No pipes, devices, small file systems or names in bytes here");
#else
        QCOMPARE(mkfifo(qPrintable(path("pipe.txt")), 0600), 0);
        const QByteArray badName = QFile::encodeName(dir->path()) + "/bad\xff\xfe.txt";
        QCOMPARE(mknod(badName.constData(), S_IFREG | 0600, 0), 0);
        // A file system of 64 KiB that this thread alone sees, with one byte
        // left, in the last 4 KiB page of old.txt.
        if (small && !(QDir().mkpath(path("small")) && unshare(CLONE_NEWNS) == 0 &&
                       mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       mount("tmpfs", qPrintable(path("small")), "tmpfs", 0, "size=64k") == 0))
            QSKIP("A small file system could not be mounted here (it takes root)");
        if (small) {
            write("small/old.txt", QByteArray(4095, 'x'));
            write("small/filler", QByteArray(65536, 'x'));
        }
#endif
        write("odd.txt", marked(QStringConverter::Utf16LE, QStringLiteral("мир")) + 'x');
        const QByteArray bytesBefore = read(target);

        // The command fails in the middle of a run, which goes on afterwards.
        const QString source = QStringLiteral("Свой текст");
        ui->type(ui->T1(), source);
        QStringList textsBefore, atMessage, after;
        ui->dialogs.whileShown = [&] {
            if (atMessage.isEmpty())
                atMessage = ui->shownState();
        };
        ui->after(3, [&] {
            textsBefore = ui->shownState().mid(0, 2);
            saving ? save(file) : open(file);
            after = ui->shownState();
        });
        run();
        QCOMPARE(after.mid(0, 2), textsBefore);
        QCOMPARE(after, atMessage);
        QCOMPARE(ui->T2()->text(), Form1Driver::swapped(source));
        QCOMPARE(ui->dialogs.shown.size(), 2);
        const ScriptedDialogs::Box &box = ui->dialogs.shown[0];
        QVERIFY(box.style == MsgBox::Exclamation && box.title == QStringLiteral("Вельтор"));
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(file)), qPrintable(box.text));
        QVERIFY2(box.text.endsWith(QLatin1Char('\n') + reason), qPrintable(box.text));
        QCOMPARE(read(target), bytesBefore);
    }

    void charactersWithoutAByteAreWrittenOnlyWhenTheUserAgrees()
    {
        ui->type(ui->T2(), QStringLiteral("Ā 😀 中 ж"));
        ui->dialogs.answers = {MsgBox::No, MsgBox::Yes};
        save(path("out.txt"));
        QVERIFY(!QFile::exists(path("out.txt")));
        save(path("out.txt"));
        QCOMPARE(read("out.txt"), QByteArray("? ? ? \xe6\r\n"));
        QCOMPARE(
            ui->dialogs.texts(),
            QStringList(2, QStringLiteral("Символов, которых нет в кодировке Windows-1251: 3.\n"
                                          "Они будут записаны как «?». Сохранить?")));
        const ScriptedDialogs::Box &box = ui->dialogs.shown[1];
        QVERIFY(box.style == MsgBox::YesNo && box.title == QStringLiteral("Вельтор"));
        QCOMPARE(ui->form.answerText(), QStringLiteral("6"));

        ui->dialogs.answers = {MsgBox::Yes};
        ui->dialogs.whileShown = [&] { // another program puts a UTF-8 file in its place
            write("new.txt", "ё\r\n");
            QFile::remove(path("out.txt")), QFile::rename(path("new.txt"), path("out.txt"));
        };
        save(path("out.txt"));
        QCOMPARE(read("out.txt"), QByteArray("ё\r\nĀ 😀 中 ж\r\n"));
    }

#ifdef Q_OS_LINUX
    // Files are read to their end, whatever length they report.
    void filesReportingNoLengthArriveWhole()
    {
        open(QStringLiteral("/proc/self/status"));
        QVERIFY(ui->T1()->text().startsWith(QStringLiteral("Name:")) &&
                ui->T1()->text().contains(QStringLiteral("\nVmPeak:")));
    }
#endif

    // The real dialog, taken to folder A and given a name, both typed. A file
    // in A bears the name's quoted part, which Qt alone would take instead.
    void realFileDialogTakesTheTypedName_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("typed"); // in the temporary folder, which is also home
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("result"); // the file's bytes after, or T1's
        QTest::addColumn<QStringList>("boxes");
        const QString question =
            QStringLiteral("Файл «%1» уже существует.\nДописать результат в конец файла?");
        QTest::newRow("open") << false << Existing << 0 << QByteArray("бв") << QStringList();
        QTest::newRow("open missing")
            << false << QStringLiteral("B/нет \"его\".txt") << 0 << QByteArray()
            << QStringList(QStringLiteral("Файл «%1» не найден.\nПроверьте имя файла."));
        QTest::newRow("save new, from home")
            << true << QStringLiteral("~/B/итог.txt") << 0 << QByteArray("\r\n") << QStringList();
        QTest::newRow("save existing, Да") << true << Existing << int(MsgBox::Yes)
                                           << QByteArray("\xe1\xe2\r\n") << QStringList(question);
        QTest::newRow("save existing, Нет")
            << true << Existing << int(MsgBox::No) << QByteArray("\xe1\xe2")
            << QStringList{question, QStringLiteral("Имя файла не задано!")};
        QTest::newRow("save, a pattern lists what it matches")
            << true << QStringLiteral("A/фин*") << 0 << QByteArray("<missing>")
            << QStringList(QStringLiteral("Имя файла не задано!"));
    }
    void realFileDialogTakesTheTypedName()
    {
        QFETCH(bool, saving);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QByteArray, result);
        QFETCH(QStringList, boxes);
        struct RealFileDialog : ScriptedDialogs
        {
            QString fileName(QWidget *parent, const FileDialogRequest &request) override
            {
                // NOLINTNEXTLINE(bugprone-parent-virtual-call): the real one, not the scripted one
                return Dialogs::fileName(parent, request);
            }
        } dialogs;
        dialogs.answers = {answer};
        Form1 form(dialogs);
        form.show();
        write("A/финал", "decoy");
        QString existing = Existing;
        const bool fromHome = typed.startsWith(QLatin1Char('~'));
#ifdef _WIN32
        if (fromHome)
            QSKIP("Windows finds the home folder without HOME");
        // Windows file names hold no double quotes.
        typed.remove(QLatin1Char('"')), existing.remove(QLatin1Char('"'));
#endif
        write(existing, "\xe1\xe2");
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(dir->path()));
        const QString file = path(fromHome ? typed.mid(2) : typed);
        QString filterShown;
        QStringList listed;
        bool inA = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->acceptMode(),
                     saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            filterShown = dialog->findChild<QComboBox *>("fileTypeCombo")->currentText();
            // Typed, not chosen in the list: Qt fills the box with the
            // chosen name only while the box has no focus.
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            name->setFocus();
            name->setText(path("A")); // a folder's name opens the folder
            QTest::keyClick(name, Qt::Key_Return);
            inA = name->text().isEmpty() && dialog->directory() == QDir(path("A"));
            name->setText(fromHome ? typed : file);
            QTest::keyClick(name, Qt::Key_Return);
            if (typed.contains('*')) { // the folder is read in the background
                (void)QTest::qWaitFor([&] { return !(listed = listedIn(dialog)).isEmpty(); });
                listed << name->text(); // the pattern stays in the name box
            }
            if (dialog->isVisible()) // a question answered Нет, or a notice
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(form.findChild<QPushButton *>(saving ? "Command1" : "Command2"),
                          Qt::LeftButton);
        qputenv("HOME", home);
        if (saving)
            QCOMPARE(read(file.mid(dir->path().size() + 1)), result);
        else
            QCOMPARE(form.findChild<TextBox *>("T1")->text(), QString::fromUtf8(result));
        for (QString &box : boxes)
            box.replace(QStringLiteral("%1"), QDir::toNativeSeparators(file));
        QCOMPARE(dialogs.texts(), boxes);
        QCOMPARE(read("A/финал"), QByteArray("decoy"));
        QCOMPARE(filterShown, QStringLiteral("Текстовые файлы(*.txt)"));
        QCOMPARE(listed, typed.contains('*') ? (QStringList{"финал", "фин*"}) : QStringList());
        QVERIFY(inA);
    }
};

QTEST_MAIN(TextFilesTest)
#include "tst_textfiles.moc"
