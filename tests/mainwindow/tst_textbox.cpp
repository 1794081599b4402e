#include "form1driver.h"

#include <QClipboard>
#include <QScrollBar>
#include <QWheelEvent>

class TextBoxTest : public QObject
{
    Q_OBJECT

    // Puts the caret at a position of what the box shows.
    static void placeCaret(TextBox &box, int position)
    {
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(position);
        box.setTextCursor(cursor);
    }

private slots:
    // Edits keep every other character the box holds, line breaks of every
    // kind among them.
    void editsKeepTheOtherCharacters_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        // Shown as: a ¶ b ¶ c ¶ d ␀ e …; "~" stands for the zero character,
        // "…" for every character up to Cyrillic, and -1 for the end.
        QTest::newRow("type at the end") << -1 << int(Qt::Key_X) << "a\nb\rc\r\nd~e…X";
        QTest::newRow("type at the start") << 0 << int(Qt::Key_X) << "Xa\nb\rc\r\nd~e…";
        QTest::newRow("delete a lone LF") << 1 << int(Qt::Key_Delete) << "ab\rc\r\nd~e…";
        QTest::newRow("delete a CR LF") << 5 << int(Qt::Key_Delete) << "a\nb\rcd~e…";
        QTest::newRow("backspace over a CR LF") << 6 << int(Qt::Key_Backspace) << "a\nb\rcd~e…";
        QTest::newRow("type after a CR LF") << 6 << int(Qt::Key_X) << "a\nb\rc\r\nXd~e…";
        QTest::newRow("enter before a lone CR")
            << 3 << int(Qt::Key_Return) << "a\nb\r\n\rc\r\nd~e…";
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
        placeCaret(box, caret < 0 ? box.document()->characterCount() - 1 : caret);
        if (key == Qt::Key_X)
            typeText(&box, QStringLiteral("X"));
        else
            QTest::keyClick(&box, Qt::Key(key));
        QCOMPARE(box.text(), expected);
    }

    // The scroll bars span the whole text while it grows, and keep their
    // range when the box takes it all in at the end.
    void scrollBarsSpanTheGrowingText()
    {
        TextBox box;
        box.resize(200, 100);
        box.show();
        // A tab past the right edge is measured to its tab stop all the same.
        const QString text = QString(300, QChar(u'ж')) + QStringLiteral("\tж") +
                             QStringLiteral("\r\nш").repeated(50);
        for (QChar c : text)
            box.appendText(QString(c));
        QTRY_VERIFY(box.horizontalScrollBar()->maximum() > 1000);
        const int across = box.horizontalScrollBar()->maximum();
        const int down = box.verticalScrollBar()->maximum();
        QVERIFY(down > 40);

        box.showWholeText();
        QVERIFY(qAbs(box.horizontalScrollBar()->maximum() - across) <= 2);
        QCOMPARE(box.verticalScrollBar()->maximum(), down);
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
        QTest::newRow("emoji") << QStringLiteral("ж😀").repeated(40) << "";
        QTest::newRow("U+2028") << longLine + QStringLiteral("\u2028") + line << "";
        QTest::newRow("U+2029 after a long line") << longLine + QStringLiteral("\u2029жжж") << "";
        QTest::newRow("many U+2029") << QStringLiteral("ж\u2029").repeated(50) << "";
        QTest::newRow("soft hyphens") << QString(300, QChar(0xAD)) + line << "";
        QTest::newRow("Arabic") << QStringLiteral("مرحبا بالعالم ").repeated(10) << "";
        QTest::newRow("Arabic after digits")
            << QStringLiteral("1234567890 ").repeated(10) + QStringLiteral("مرحبا ") << "";
        QTest::newRow("Hebrew") << QStringLiteral("שלום עולם ").repeated(10) << "";
        QTest::newRow("combining marks") << QStringLiteral("е\u0301ж").repeated(50) << "";
        QTest::newRow("CJK") << QStringLiteral("中文字").repeated(30) << "";
        const QString tall = line.repeated(2) + QStringLiteral("\r\nж").repeated(40);
        QTest::newRow("select all, copy") << tall << "copy";
        QTest::newRow("wheel") << tall << "wheel";
        QTest::newRow("scroll bar") << tall << "scroll bar";
    }
    void runShowsTheResultAtEveryStep()
    {
        QFETCH(QString, source);
        QFETCH(QString, touch);
        Form1Driver d;
        TextBox *box = d.T2();
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
        d.T1()->setText(source);
        d.click("Knop");
        QVERIFY2(wrongAt < 0, qPrintable(QStringLiteral("differs at %1 characters").arg(wrongAt)));
    }

    void undoTakesBackTheUsersEditsOnly()
    {
        TextBox box;
        box.setText(QStringLiteral("set "));
        box.appendText(QStringLiteral("grown"));
        box.showWholeText();
        box.moveCursor(QTextCursor::End);
        typeText(&box, QStringLiteral("!"));
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("set grown"));
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("set grown"));
        QCOMPARE(box.toPlainText(), QStringLiteral("set grown"));
    }
};

QTEST_MAIN(TextBoxTest)
#include "tst_textbox.moc"
