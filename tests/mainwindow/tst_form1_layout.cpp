#include "form1driver.h"

#include <QAccessible>
#include <QDir>
#include <QScrollBar>
#include <QTimer>

#include <memory>

class Form1LayoutTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form1Driver> ui;

private slots:
    void init() { ui = std::make_unique<Form1Driver>(); }
    void cleanup() { ui.reset(); }

    // What the user sees at first: every control, caption, font and picture
    // of both windows, pixel for pixel. After an intended change of the look,
    // the failure names the new picture to copy over the reference.
    void windowsLookAsTheyDid_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main window") << "form1";
        QTest::newRow("About window") << "about";
    }
    void windowsLookAsTheyDid()
    {
#ifdef Q_OS_WIN
        QSKIP("The pictures are of the Linux fonts and style");
#endif
        QFETCH(QString, window);
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        QImage seen;
        if (window == QLatin1String("form1")) {
            seen = ui->form.grab().toImage();
        } else {
            QTimer::singleShot(0, &ui->form, [&seen] {
                QWidget *about = QApplication::activeModalWidget();
                seen = about->grab().toImage();
                about->close();
            });
            ui->choose("mnuAbout");
        }
        const QImage reference(QFINDTESTDATA("pictures/" + window + ".png"));
        if (reference.isNull() || seen.convertToFormat(reference.format()) != reference) {
            const QString saved = QDir::current().absoluteFilePath(window + ".png");
            seen.save(saved);
            QFAIL(qPrintable("the window looks different: " + saved));
        }
    }

    // What a screen reader says of the controls whose captions do not tell it.
    void controlsAreNamedForScreenReaders()
    {
        QStringList heard;
        for (const char *name : {"T1", "T2", "Command3", "Pr", "StatusBar1"}) {
            QAccessibleInterface *control =
                QAccessible::queryAccessibleInterface(ui->control(name));
            heard << control->text(QAccessible::Name) + QLatin1Char('|') +
                         control->text(QAccessible::Description);
            for (const auto &[label, relation] : control->relations(QAccessible::Label))
                heard.last() += QStringLiteral("|labelled by ") + label->text(QAccessible::Name);
        }
        QCOMPARE(heard, (QStringList{"Оригинал||labelled by Оригинал",
                                     "Обработанный текст||labelled by Обработанный текст",
                                     "Остановить|Прерывает обработку текста", "Ход обработки|",
                                     "Разделитель|"}));
    }

    void windowCannotBeResizedOrMaximized()
    {
        QCOMPARE(ui->form.minimumSize(), ui->form.maximumSize());
        QVERIFY(!(ui->form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(ui->form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(ui->form.windowIcon().availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
        // Drawn at that size, not at the nearest size of a bitmap font.
        QCOMPARE(QFontInfo(ui->button("Knop")->font()).pointSizeF(), 8.25);
    }

    void focusStartsOnKnopAndTabCyclesTheCommands()
    {
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        // Space, Return or Enter on the focused Knop at once reports the empty source.
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
        // No button is the window's default: Return in a box is a line break.
        QTest::keyClick(ui->T1(), Qt::Key_Return);
        QCOMPARE(ui->T1()->text(), QStringLiteral("\r\n"));
    }

    void longLinesScrollInsteadOfWrapping()
    {
        ui->type(ui->T1(), QString(500, QChar(u'ж')));
        QCOMPARE(ui->T1()->document()->blockCount(), 1);
        QVERIFY(ui->T1()->horizontalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(Form1LayoutTest)
#include "tst_form1_layout.moc"
