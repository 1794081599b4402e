#include "form1driver.h"

#include <QScrollBar>

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
