#include "form1driver.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <optional>

namespace {
const QString Done = QStringLiteral("Обработка завершена!");
const QString Source = QStringLiteral("Съешь же ещё этих мягких\r\nфранцузских булок");

// A sentence over and over up to `size` characters.
QString book(qsizetype size, const QString &separator)
{
    QString text;
    while (text.size() < size)
        text += QStringLiteral("Съешь же ещё этих мягких французских булок.") + separator;
    return text.left(size);
}

QString counted(qsizetype count)
{
    return QStringLiteral("Длина обработанного участка: %1").arg(count);
}
} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form1Driver> ui;

private slots:
    void init() { ui = std::make_unique<Form1Driver>(); }
    void cleanup() { ui.reset(); }

    // Every control, caption, font and picture of both windows, pixel for
    // pixel. After an intended change of the look, copy the picture that the
    // failure names over the reference.
    void windowsLookAsTheyDid_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("darkDesktop");
        QTest::newRow("main window") << "form1" << false;
        QTest::newRow("About window") << "about" << false;
        QTest::newRow("About window on a dark desktop") << "about" << true;
    }
    void windowsLookAsTheyDid()
    {
#ifdef Q_OS_WIN
        QSKIP("The pictures are of the Linux fonts and style");
#endif
        QFETCH(QString, window);
        QFETCH(bool, darkDesktop);
        const auto restore =
            qScopeGuard([p = QApplication::palette()] { QApplication::setPalette(p); });
        if (darkDesktop)
            QApplication::setPalette(QPalette(QColor(40, 40, 40)));
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        QImage seen = ui->form.grab().toImage();
        if (window == QLatin1String("about")) {
            QTimer::singleShot(0, &ui->form, [&seen] {
                seen = QApplication::activeModalWidget()->grab().toImage();
                QApplication::activeModalWidget()->close();
            });
            ui->choose("mnuAbout");
        }
        const QImage reference(QFINDTESTDATA("pictures/" + window + ".png"));
        if (seen.convertToFormat(reference.format()) != reference) {
            seen.save(QDir::current().absoluteFilePath(window + ".png"));
            QFAIL(qPrintable("the window looks different: " + window + ".png"));
        }
    }

    // What a screen reader says of the controls whose captions do not tell
    // it; it may select in both text boxes.
    void controlsAreNamedForScreenReaders()
    {
        QStringList heard;
        for (const char *name : {"T1", "T2", "Command3", "Pr", "StatusBar1"}) {
            QAccessibleInterface *control =
                QAccessible::queryAccessibleInterface(ui->control(name));
            heard << control->text(QAccessible::Name) + '|' +
                         control->text(QAccessible::Description) +
                         (control->state().selectableText ? "|selectable" : "");
            for (const auto &[label, relation] : control->relations(QAccessible::Label))
                heard.last() += "|labelled by " + label->text(QAccessible::Name);
        }
        QCOMPARE(heard,
                 (QStringList{"Оригинал||selectable|labelled by Оригинал",
                              "Обработанный текст||selectable|labelled by Обработанный текст",
                              "Остановить|Прерывает обработку текста", "Ход обработки|",
                              "Разделитель|"}));
    }

    void keyboardAndWindowFrame()
    {
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        // Space, Return or Enter on the focused Knop report the empty source.
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(ui->dialogs.texts(), QStringList(3, "Введите текст в поле Оригинал!"));
        QStringList order;
        for (int i = 0; i < 7; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{"Knop", "Command1", "Command2", "Command3", "T1", "T2", "Knop"}));
        // Stopping asks nothing while nothing runs (an unexpected question fails the test).
        ui->click("Command3");
        ui->choose("MnStp");
        // No button is the window's default: Return in a box is a line break.
        QTest::keyClick(ui->T1(), Qt::Key_Return);
        QCOMPARE(ui->T1()->text(), QStringLiteral("\r\n"));

        QCOMPARE(ui->form.minimumSize(), ui->form.maximumSize());
        QVERIFY(!(ui->form.windowFlags() & Qt::WindowMaximizeButtonHint));
        // Drawn at that size, not at the nearest size of a bitmap font.
        QCOMPARE(QFontInfo(ui->button("Knop")->font()).pointSizeF(), 8.25);
        QVERIFY(ui->form.close()); // without a question while nothing runs
    }

    void runShowsTheWholeResult_data()
    {
        QTest::addColumn<bool>("fromMenu"); // the run is started from the menu, or by Space on Knop
        QTest::addColumn<QString>("source");
        QTest::newRow("typed, run from the menu") << true << "Привет,\r\nмир!";
        QTest::newRow("one line of 20,000") << false << book(20'000, " ");
        QTest::newRow("5,000 in lines") << false << book(5'000, "\r\n");
    }
    void runShowsTheWholeResult()
    {
        QFETCH(bool, fromMenu);
        QFETCH(QString, source);
        const QString result = Form1Driver::swapped(source);
        fromMenu ? ui->type(ui->T1(), source) : ui->T1()->setText(source);
        QString shownAtNotice;
        ui->dialogs.whileShown = [&] { shownAtNotice = Form1Driver::shown(ui->T2()); };
        // Keys meant for Knop pressed again during the run do nothing.
        ui->after(3, [&] {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space})
                QTest::keyClick(ui->form.focusWidget(), key);
        });
        if (fromMenu)
            ui->choose("MnKod");
        else
            QTest::keyClick(ui->form.focusWidget(), Qt::Key_Space);

        const QString size = QStringLiteral("Размер текста в символах: %1").arg(source.size());
        QCOMPARE(ui->shownState(),
                 (QStringList{source, result, size, counted(source.size()), "0"}));
        QCOMPARE(shownAtNotice, result);
        QCOMPARE(ui->T2()->textCursor().position(), 0);
        QCOMPARE(ui->control("L")->size(), ui->control("L")->sizeHint()); // the whole caption
        QCOMPARE(ui->dialogs.texts(), QStringList{Done});
        QVERIFY(ui->dialogs.shown[0].style == MsgBox::Exclamation &&
                ui->dialogs.shown[0].title == QStringLiteral("Вельтор"));
        QCOMPARE(ui->form.answerText(), QStringLiteral("1"));
        QVERIFY(ui->control<QAction>("MnKod")->isEnabled());
        QVERIFY(!ui->T1()->isLocked() && !ui->T2()->isLocked());
        QCOMPARE(ui->form.focusWidget()->objectName(), fromMenu ? "T1" : "Knop");
        // The result is the user's to edit, and Ctrl+Z undoes the edit.
        typeText(ui->T2(), QStringLiteral("ж"));
        QTest::keyClick(ui->T2(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ui->T2()->text(), result);
    }

    // At every step the screen shows the count and the bar as Qt's plain
    // status bar and progress bar show them, also when a character moves the
    // bar by less than a pixel.
    void everyStepLooksAsPlainWidgetsShowIt()
    {
#ifdef Q_OS_WIN
        QSKIP("The platform the tests use under Wine cannot read back the screen");
#endif
        constexpr int Size = 1'500;
        QStatusBar plainBar(ui->control("client"));
        QProgressBar plainProgress(ui->control("client"));
        plainProgress.setRange(0, Size);
        plainProgress.setTextVisible(false);
        QStringList wrong;
        const auto compare = [&](QWidget *plain, const char *name, const QString &step) {
            QWidget *shown = ui->control(name);
            plain->setFont(shown->font());
            plain->resize(shown->size());
            const QRect area(shown->mapTo(&ui->form, QPoint()), shown->size());
            if (ui->form.screen()
                    ->grabWindow(ui->form.winId(), area.x(), area.y(), area.width(), area.height())
                    .toImage() != plain->grab().toImage().convertToFormat(QImage::Format_RGB32))
                wrong << QStringLiteral("%1 at %2").arg(name, step);
        };
        // When a pump of the run begins, the step before it is on the screen;
        // the first pump shows the run's start.
        QString painted;
        std::optional<PumpWatch> watch;
        ui->after(0, [&] {
            watch.emplace([&] {
                if (!painted.isEmpty()) {
                    plainBar.showMessage(painted);
                    plainProgress.setValue(painted.section(' ', -1).toInt());
                    compare(&plainBar, "Bar", painted);
                    compare(&plainProgress, "Pr", painted);
                }
                painted = ui->status();
            });
        });
        // And the full bar is painted before the run empties it; the status
        // bar's caption only when it appears and with the first count, and
        // otherwise no more than four digits (until the font changes).
        struct Paints : QObject
        {
            bool fullBar = false;
            int wideCounts = 0;
            int fourDigits = 0;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() != QEvent::Paint)
                    return false;
                if (const auto *bar = qobject_cast<QProgressBar *>(watched))
                    fullBar |= bar->value() == bar->maximum();
                else
                    wideCounts += static_cast<QPaintEvent *>(event)->rect().width() > fourDigits;
                return false;
            }
        } paints;
        // The desktop's font changes half-way.
        QWidget *bar = ui->control("Bar");
        const QFont larger(bar->font().family(), 9);
        int wideCountsBefore = -1;
        ui->after(Size / 2, [&] {
            wideCountsBefore = paints.wideCounts;
            bar->setFont(larger);
        });
        paints.fourDigits = QFontMetrics(larger).horizontalAdvance(QStringLiteral("0000")) + 8;
        ui->control("Pr")->installEventFilter(&paints);
        bar->installEventFilter(&paints);
        ui->T1()->setText(book(Size, "\r\n"));
        ui->click("Knop");
        QCOMPARE(wrong, QStringList());
        QVERIFY(paints.fullBar);
        QCOMPARE(wideCountsBefore, 2);
    }

    // At every step of a run the result box looks as a new box holding the
    // whole result so far would; what a user copies from it in the middle
    // of the run is that result.
    void runShowsTheResultAtEveryStep_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("touch"); // what the user does 40 characters before the end
        const QString line = QStringLiteral("Съешь же ещё этих мягких французских булок. ");
        const QString longLine = line.repeated(3);
        QTest::newRow("lines") << (line.left(12) + QStringLiteral("\r\n")).repeated(24) << "";
        QTest::newRow("one long line") << longLine << "";
        QTest::newRow("tabs") << QStringLiteral("а\tбв\tгде\t").repeated(20) << "";
        QTest::newRow("CR LF alone") << QStringLiteral("\r\n") << "";
        QTest::newRow("emoji, select all, copy") << QStringLiteral("ж😀").repeated(60) << "copy";
        QTest::newRow("U+2028") << longLine + QStringLiteral("\u2028") + line << "";
        QTest::newRow("U+2029 after a long line") << longLine + QStringLiteral("\u2029жжж") << "";
        QTest::newRow("many U+2029") << QStringLiteral("ж\u2029").repeated(50) << "";
        QTest::newRow("soft hyphens") << QString(300, QChar(0xAD)) + line << "";
        QTest::newRow("Arabic") << QStringLiteral("مرحبا بالعالم ").repeated(10) << "";
        QTest::newRow("Arabic after digits")
            << QStringLiteral("1234567890 ").repeated(10) + QStringLiteral("مرحبا ") << "";
        QTest::newRow("Arabic on long lines after CR LF and LF")
            << QStringLiteral("ж\r\n") + longLine + QStringLiteral("مرحبا\n") + longLine +
                   QStringLiteral("مرحبا")
            << "";
        QTest::newRow("combining marks") << QStringLiteral("е\u0301ж").repeated(50) << "";
        const QString tall = line.repeated(2) + QStringLiteral("\r\nж").repeated(40);
        QTest::newRow("select all, copy") << tall << "copy";
        QTest::newRow("wheel") << tall << "wheel";
        QTest::newRow("scroll bar") << tall << "scroll bar";
        QTest::newRow("a frame later") << tall << "frame";
        QTest::newRow("emoji, a frame later") << QStringLiteral("ж😀").repeated(60) + "ж"
                                              << "frame";
        QTest::newRow("kerned, a frame later")
            << QStringLiteral("AVATAR, To Ya! ").repeated(9) << "frame";
        // The long line ends in «ж» once swapped, whose ink reaches past its advance.
        QTest::newRow("a frame later, «ж» at a long line's end")
            << longLine.left(68) + QStringLiteral("\r\nж").repeated(40) << "frame";
        QTest::newRow("screen reader") << tall << "reader";
        QTest::newRow("a second run at once") << tall << "again";
    }
    void runShowsTheResultAtEveryStep()
    {
        QFETCH(QString, source);
        QFETCH(QString, touch);
        TextBox *box = ui->T2();
        TextBox fresh;
        fresh.setAttribute(Qt::WA_DontShowOnScreen);
        fresh.setFont(box->font());
        fresh.resize(box->size());
        fresh.setLocked(true);
        fresh.show();
        const auto looksFresh = [&] {
            return box->viewport()->grab().toImage() == fresh.viewport()->grab().toImage();
        };
        qsizetype wrongAt = -1;
        const auto seeStep = [&] {
            const QString result = box->text();
            fresh.setText(result);
            if (wrongAt < 0 && !looksFresh())
                wrongAt = result.size();
            if (touch.isEmpty() || result.size() != source.size() - 40)
                return;
            const QString taken =
                QString(result).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (touch == QLatin1String("copy")) {
                QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                QCOMPARE(QGuiApplication::clipboard()->text(), taken);
            } else if (touch == QLatin1String("reader")) {
                QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(box);
                QCOMPARE(reader->text(QAccessible::Value), taken);
                QAccessibleTextInterface *text = reader->textInterface();
                QCOMPARE(text->text(0, text->characterCount()), taken);
            } else if (touch == QLatin1String("frame")) {
                QTRY_COMPARE(box->verticalScrollBar()->maximum(),
                             fresh.verticalScrollBar()->maximum());
                QTRY_COMPARE(box->horizontalScrollBar()->maximum(),
                             fresh.horizontalScrollBar()->maximum());
            } else if (touch == QLatin1String("wheel")) {
                QWheelEvent wheel(QPointF(20, 20), box->mapToGlobal(QPointF(20, 20)), {},
                                  QPoint(0, -120 * 4), {}, {}, Qt::NoScrollPhase, false);
                QApplication::sendEvent(box->viewport(), &wheel);
            } else { // a click on the scroll bar below its handle
                QScrollBar *bar = box->verticalScrollBar();
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  QPoint(bar->width() / 2, bar->height() - 20));
            }
            if (touch == QLatin1String("wheel") || touch == QLatin1String("scroll bar")) {
                QVERIFY(box->verticalScrollBar()->value() > 0);
                fresh.verticalScrollBar()->setValue(box->verticalScrollBar()->value());
                QVERIFY(looksFresh());
            }
        };
        PumpWatch watch(seeStep);
        ui->T1()->setText(source);
        ui->click("Knop");
        if (touch == QLatin1String("again"))
            ui->click("Knop");
        QVERIFY2(wrongAt < 0, qPrintable(QStringLiteral("differs at %1 characters").arg(wrongAt)));
    }

    // Stop, Выход or the close button asked during a run; the answer decides.
    // A stop lets the character in hand be appended and empties the bar at
    // once; an exit ends where the run stands.
    void commandsDuringRun_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("length");   // of the result
        QTest::addColumn<int>("progress"); // right after the answer
        QTest::addColumn<bool>("ended");
        const QString stop = QStringLiteral("Вы уверены, что хотите остановить процесс?!");
        const QString exit = QStringLiteral("Вы в процессе обработки! Хотите выйти?!");
        const int all = int(Source.size());
        QTest::newRow("stop button, Да")
            << "Command3" << int(MsgBox::Yes) << stop << 5 << 0 << false;
        QTest::newRow("Стоп, Да") << "MnStp" << int(MsgBox::Yes) << stop << 5 << 0 << false;
        QTest::newRow("Выход, Нет") << "MnExit" << int(MsgBox::No) << exit << all << 4 << false;
        QTest::newRow("Выход, Да") << "MnExit" << int(MsgBox::Yes) << exit << 4 << 4 << true;
        QTest::newRow("close button, Да") << "close" << int(MsgBox::Yes) << exit << 4 << 4 << true;
        QTest::newRow("close button, Нет")
            << "close" << int(MsgBox::No) << exit << all << 4 << false;
    }
    void commandsDuringRun()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(int, length);
        QFETCH(int, progress);
        QFETCH(bool, ended);
        ui->type(ui->T1(), Source);
        ui->dialogs.answers = {answer};
        int progressAfterAnswer = -1;
        ui->after(4, [&] {
            QVERIFY(ui->T1()->isLocked() && ui->T2()->isLocked());
            if (command == QLatin1String("Command3"))
                ui->click("Command3");
            else if (command == QLatin1String("close"))
                ui->form.close();
            else
                ui->choose(qPrintable(command));
            progressAfterAnswer = ui->progress();
        });
        ui->click("Knop");

        QCOMPARE(ui->T2()->text(), Form1Driver::swapped(Source.left(length)));
        QCOMPARE(ui->dialogs.texts(),
                 ended ? QStringList{question} : (QStringList{question, Done}));
        QCOMPARE(ui->dialogs.shown[0].style, MsgBox::YesNo);
        QCOMPARE(progressAfterAnswer, progress);
        QCOMPARE(ui->dialogs.ended, ended);
        QCOMPARE(ui->form.isVisible(), !ended);
        QCOMPARE(ui->form.answerText(), QString::number(ended ? MsgBox::Yes : MsgBox::Ok));
        if (!ended)
            QCOMPARE(ui->shownState().mid(3), (QStringList{counted(length), "0"}));
    }
    // A screen reader counts a line break as one character, as the box shows it.
    void aScreenReaderSelectsAndEditsUnlessLocked()
    {
        TextBox box;
        box.setText(QStringLiteral("ба\r\nвг"));
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&box);
        QAccessibleTextInterface *text = reader->textInterface();
        QCOMPARE(text->characterCount(), 5);
        text->setSelection(0, 1, 4);
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(QList({text->selectionCount(), start, end, text->cursorPosition()}),
                 QList({1, 1, 4, 4}));
        text->removeSelection(0);
        text->selection(0, &start, &end);
        QCOMPARE(QList({text->selectionCount(), start, end}), QList({0, 0, 0}));
        QVERIFY(reader->state().editable && !reader->state().readOnly);
        box.setLocked(true);
        reader->editableTextInterface()->deleteText(1, 4);
        QVERIFY(reader->state().readOnly && !reader->state().editable);
        box.setLocked(false);
        reader->editableTextInterface()->deleteText(1, 4);
        reader->editableTextInterface()->insertText(1, QStringLiteral("ж"));
        QCOMPARE(box.text(), QStringLiteral("бжг"));
        QVERIFY(qAbs(text->characterRect(1).right() + 1 - text->characterRect(2).left()) <= 1);
        QCOMPARE(text->offsetAtPoint(text->characterRect(2).topLeft() + QPoint(1, 2)), 2);
    }

    // Edits keep every other character the box holds, line breaks of every
    // kind among them.
    void editsKeepTheOtherCharacters_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        // Shown as: a ¶ b ¶ c ¶ d ␀ e …; "~" stands for the zero character,
        // "…" for every character up to Cyrillic, and -1 for the end.
        QTest::newRow("type at the end") << -1 << int(Qt::Key_X) << "a\nb\rc\r\nd~e…x";
        QTest::newRow("type at the start") << 0 << int(Qt::Key_X) << "xa\nb\rc\r\nd~e…";
        QTest::newRow("delete a lone LF") << 1 << int(Qt::Key_Delete) << "ab\rc\r\nd~e…";
        QTest::newRow("delete a CR LF") << 5 << int(Qt::Key_Delete) << "a\nb\rcd~e…";
        QTest::newRow("backspace over a CR LF") << 6 << int(Qt::Key_Backspace) << "a\nb\rcd~e…";
        QTest::newRow("type after a CR LF") << 6 << int(Qt::Key_X) << "a\nb\rc\r\nxd~e…";
        QTest::newRow("enter before a lone CR")
            << 3 << int(Qt::Key_Return) << "a\nb\r\n\rc\r\nd~e…";
        QTest::newRow("Shift+Enter")
            << 3 << (Qt::SHIFT | Qt::Key_Return).toCombined() << "a\nb\r\n\rc\r\nd~e…";
        QTest::newRow("Ctrl+Enter")
            << 3 << (Qt::CTRL | Qt::Key_Return).toCombined() << "a\nb\r\n\rc\r\nd~e…";
        QTest::newRow("Shift+Enter on the keypad")
            << 3 << (Qt::ShiftModifier | Qt::KeypadModifier | Qt::Key_Enter).toCombined()
            << "a\nb\r\n\rc\r\nd~e…";
        QTest::newRow("paste a line separator")
            << 3 << (Qt::CTRL | Qt::Key_V).toCombined() << "a\nb\u2028\rc\r\nd~e…";
    }
    void editsKeepTheOtherCharacters()
    {
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(QString, expected);
        QString all;
        for (int code = 0; code < 0x500; ++code)
            all += QChar(char16_t(code));
        expected.replace(QLatin1Char('~'), QChar(0)).replace(QStringLiteral("…"), all);
        TextBox box;
        box.setText(QString::fromUtf16(u"a\nb\rc\r\nd\0e", 10) + all);
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(caret < 0 ? box.document()->characterCount() - 1 : caret);
        box.setTextCursor(cursor);
        QGuiApplication::clipboard()->setText(QStringLiteral("\u2028"));
        const auto keys = QKeyCombination::fromCombined(key);
        QTest::keyClick(&box, keys.key(), keys.keyboardModifiers());
        QCOMPARE(box.text(), expected);
        box.setLocked(true); // and a locked box refuses the key
        QTest::keyClick(&box, keys.key(), keys.keyboardModifiers());
        QCOMPARE(box.text(), expected);
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
