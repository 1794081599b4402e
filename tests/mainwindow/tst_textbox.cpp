#include "form1driver.h"

#include <QScrollBar>
#include <QTextBlock>

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
    void editsKeepOtherKindsOfLineBreaks_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        // Shown as: a ¶ b ¶ c ¶ d ␀ e; "~" stands for the zero character.
        QTest::newRow("type at the end") << 9 << int(Qt::Key_X) << "a\nb\rc\r\nd~eX";
        QTest::newRow("type at the start") << 0 << int(Qt::Key_X) << "Xa\nb\rc\r\nd~e";
        QTest::newRow("delete a lone LF") << 1 << int(Qt::Key_Delete) << "ab\rc\r\nd~e";
        QTest::newRow("delete a CR LF") << 5 << int(Qt::Key_Delete) << "a\nb\rcd~e";
        QTest::newRow("backspace over a CR LF") << 6 << int(Qt::Key_Backspace) << "a\nb\rcd~e";
        QTest::newRow("type after a CR LF") << 6 << int(Qt::Key_X) << "a\nb\rc\r\nXd~e";
        QTest::newRow("enter before a lone CR") << 3 << int(Qt::Key_Return) << "a\nb\r\n\rc\r\nd~e";
    }
    void editsKeepOtherKindsOfLineBreaks()
    {
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(QString, expected);
        expected.replace(QLatin1Char('~'), QChar(0));
        TextBox box;
        box.setText(QString::fromUtf16(u"a\nb\rc\r\nd\0e", 10));
        placeCaret(box, caret);
        if (key == Qt::Key_X)
            typeText(&box, QStringLiteral("X"));
        else
            QTest::keyClick(&box, Qt::Key(key));
        QCOMPARE(box.text(), expected);
    }

    void everyCharacterOfAFileSurvivesAnEdit()
    {
        QString all;
        for (int code = 0; code < 0x500; ++code)
            all += QChar(char16_t(code));
        TextBox box;
        box.setText(all);
        QCOMPARE(box.text(), all);
        placeCaret(box, box.document()->characterCount() - 1);
        typeText(&box, QStringLiteral("ю"));
        QCOMPARE(box.text(), all + QStringLiteral("ю"));
    }

    // Appended text shows from the start of the box at once; what lies beyond
    // its edges is filled in later, but the scroll bars span it all along.
    void appendedTextShowsFromTheStart()
    {
        TextBox box;
        box.resize(200, 100);
        box.show();
        box.setText(QStringLiteral("old"));
        box.clearText();
        box.appendText(QStringLiteral("строка\r"));
        QCOMPARE(box.toPlainText(), QStringLiteral("строка\n"));
        // The line feed of a line break split between two appends.
        box.appendText(QStringLiteral("\nдве"));
        QCOMPARE(box.toPlainText(), QStringLiteral("строка\nдве"));
        // A tab past the right edge is measured to its tab stop all the same.
        const QString wide = QString(300, QChar(u'ж')) + QStringLiteral("\tж");
        for (QChar c : wide)
            box.appendText(QString(c));
        QTRY_VERIFY(box.horizontalScrollBar()->maximum() > 1000);
        const QString shownOfWide = box.document()->findBlockByNumber(1).text();
        QVERIFY(box.fontMetrics().horizontalAdvance(shownOfWide) > box.viewport()->width());
        // The user scrolled; the next character shows the start again.
        box.horizontalScrollBar()->setValue(100);
        QString tall;
        for (int line = 0; line < 50; ++line)
            tall += QStringLiteral("\r\nш");
        for (QChar c : tall)
            box.appendText(QString(c));
        QCOMPARE(box.horizontalScrollBar()->value(), 0);
        // So too after the user scrolled down, or put the caret elsewhere.
        box.verticalScrollBar()->setValue(1);
        box.appendText(QString());
        QCOMPARE(box.verticalScrollBar()->value(), 0);
        for (int caret : {1, box.document()->characterCount() - 1}) {
            placeCaret(box, caret);
            box.appendText(QString());
            QCOMPARE(box.textCursor().position(), 0);
        }
        // Every line the box shows is there while the text grows.
        QCOMPARE(box.document()->findBlockByNumber(5).text(), QStringLiteral("ш"));
        QCOMPARE(box.text(), QStringLiteral("строка\r\nдве") + wide + tall);
        const int across = box.horizontalScrollBar()->maximum();
        const int down = box.verticalScrollBar()->maximum();
        QVERIFY(down > 40);
        QCOMPARE(box.textCursor().position(), 0);

        box.showWholeText();
        QCOMPARE(Form1Driver::shown(&box), box.text());
        QVERIFY2(qAbs(box.horizontalScrollBar()->maximum() - across) <= 2,
                 qPrintable(QString::number(box.horizontalScrollBar()->maximum() - across)));
        QCOMPARE(box.verticalScrollBar()->maximum(), down);
        QCOMPARE(box.textCursor().position(), 0);
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
