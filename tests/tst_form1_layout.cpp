#include "form1driver.h"

#include <QScrollBar>

#include <memory>

// Positions and sizes are in twips, 15 to a pixel.
static QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

class Form1LayoutTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form1Driver> ui;

private slots:
    void init() { ui = std::make_unique<Form1Driver>(); }
    void cleanup() { ui.reset(); }

    void windowIsFixedAndCannotBeMaximized()
    {
        QCOMPARE(ui->form.windowTitle(), QStringLiteral("Вельтор"));
        QCOMPARE(ui->form.centralWidget()->size(), QSize(569, 465));
        QCOMPARE(ui->form.centralWidget()->y(), ui->form.menuBar()->height());
        QCOMPARE(ui->form.minimumSize(), ui->form.maximumSize());
        const Qt::WindowFlags flags = ui->form.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QCOMPARE(ui->form.windowIcon().availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));

        ui->form.showMinimized();
        ui->form.showNormal();
        QCOMPARE(ui->form.centralWidget()->size(), QSize(569, 465));
    }

    void controlsSitWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("T1") << "T1" << twips(0, 360, 4215, 3735);
        QTest::newRow("T2") << "T2" << twips(4200, 360, 4335, 3735);
        QTest::newRow("Command2") << "Command2" << twips(240, 4440, 1335, 375);
        QTest::newRow("Knop") << "Knop" << twips(1680, 4440, 2295, 375);
        QTest::newRow("Command1") << "Command1" << twips(240, 4920, 1335, 375);
        QTest::newRow("Command3") << "Command3" << twips(240, 5400, 1335, 375);
        QTest::newRow("Pr") << "Pr" << twips(240, 5880, 8055, 375);
        QTest::newRow("StatusBar1") << "StatusBar1" << twips(0, 6585, 8535, 30);
        QTest::newRow("Bar") << "Bar" << twips(0, 6615, 8535, 360);
        QTest::newRow("Line1") << "Line1" << QRect(0, 0, 568, 1);
        // Labels size themselves to their captions.
        QTest::newRow("Label1") << "Label1" << QRect(119, 8, 0, 0);
        QTest::newRow("Label2") << "Label2" << QRect(363, 8, 0, 0);
        QTest::newRow("L") << "L" << QRect(201, 352, 0, 0);
    }
    void controlsSitWhereTheyBelong()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QWidget *control = ui->control(name.toLatin1().constData());
        if (geometry.isEmpty())
            geometry.setSize(control->sizeHint());
        QCOMPARE(control->geometry(), geometry);
    }

    void captionsAndStartState()
    {
        QStringList captions;
        for (const char *name : {"Label1", "Label2", "L"})
            captions << ui->caption(name);
        for (const char *name : {"Command2", "Knop", "Command1", "Command3"}) {
            captions << ui->button(name)->text();
            QVERIFY(!ui->button(name)->isDefault() && !ui->button(name)->autoDefault());
        }
        captions << ui->status();
        QCOMPARE(captions,
                 (QStringList{"Оригинал", "Обработанный текст",
                              "Размер текста в символах:", "Открыть", "Кодировать/ Декодировать",
                              "Сохранить", "", "Длина обработанного участка:"}));
        QVERIFY(ui->T1()->text().isEmpty() && ui->T2()->text().isEmpty());
        auto *pr = ui->control<QProgressBar>("Pr");
        QCOMPARE(QList<int>({pr->minimum(), pr->maximum(), pr->value()}),
                 QList<int>({0, 65535, 0}));
        QVERIFY(ui->control<QLabel>("L")->font().bold());
        QVERIFY(!ui->control<QLabel>("Label1")->font().bold());
        // Drawn at that size, not at the nearest size of a bitmap font.
        QCOMPARE(QFontInfo(ui->button("Knop")->font()).pointSizeF(), 8.25);
        QVERIFY(QFontMetrics(ui->button("Knop")->font()).inFont(QChar(u'Ж')));
    }

    void menusHaveTheirCaptionsAndNoShortcuts()
    {
        QStringList entries;
        for (QAction *entry : ui->form.menuBar()->actions()) {
            entries << entry->text();
            for (QAction *item : entry->menu()->actions()) {
                entries << item->objectName() + QLatin1Char('=') + item->text();
                QVERIFY(item->shortcut().isEmpty() && !item->isSeparator());
            }
        }
        QCOMPARE(entries, (QStringList{"Файл", "MnOpen=Открыть", "MnSave=Сохранить",
                                       "MnKod=Кодировать/Декодировать", "MnStp=Остановить",
                                       "MnExit=Выход", "Справка", "mnuAbout=О программе"}));
    }

    void focusStartsOnKnopAndTabCyclesTheCommands()
    {
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        // Space on the focused Knop at once reports the empty source.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(ui->dialogs.texts(), QStringList{"Введите текст в поле Оригинал!"});
        QStringList order;
        for (int i = 0; i < 7; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{"Knop", "Command1", "Command2", "Command3", "T1", "T2", "Knop"}));
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
