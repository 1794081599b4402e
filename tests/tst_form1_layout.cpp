#include "form1driver.h"

#include <QFrame>
#include <QScrollBar>
#include <QWindow>

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
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        const QList<int> sizes = {16, 32, 48};
        QCOMPARE(ui->form.windowIcon().availableSizes().size(), sizes.size());
        for (int size : sizes)
            QVERIFY(ui->form.windowIcon().availableSizes().contains(QSize(size, size)));

        ui->form.showMinimized();
        ui->form.showNormal();
        QCOMPARE(ui->form.centralWidget()->size(), QSize(569, 465));
        QCOMPARE(ui->button("Knop")->geometry(), twips(1680, 4440, 2295, 375));
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
    }
    void controlsSitWhereTheyBelong()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QCOMPARE(ui->control(name.toLatin1().constData())->geometry(), geometry);
    }

    void labelsSizeThemselvesToTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("Label1") << "Label1"
                                << "Оригинал" << QPoint(119, 8);
        QTest::newRow("Label2") << "Label2"
                                << "Обработанный текст" << QPoint(363, 8);
        QTest::newRow("L") << "L"
                           << "Размер текста в символах:" << QPoint(201, 352);
    }
    void labelsSizeThemselvesToTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, position);
        auto *label = ui->control<QLabel>(name.toLatin1().constData());
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), position);
        QCOMPARE(label->size(), label->sizeHint());
    }

    void captionsFontsAndStartState()
    {
        QCOMPARE(ui->button("Command2")->text(), QStringLiteral("Открыть"));
        QCOMPARE(ui->button("Knop")->text(), QStringLiteral("Кодировать/ Декодировать"));
        QCOMPARE(ui->button("Command1")->text(), QStringLiteral("Сохранить"));
        QCOMPARE(ui->button("Command3")->text(), QString());
        QCOMPARE(ui->status(), QStringLiteral("Длина обработанного участка:"));
        QVERIFY(ui->T1()->text().isEmpty() && ui->T2()->text().isEmpty());
        QVERIFY(!ui->T1()->isLocked() && !ui->T2()->isLocked());
        QCOMPARE(ui->T1()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(ui->T2()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto *pr = ui->control<QProgressBar>("Pr");
        QCOMPARE(pr->minimum(), 0);
        QCOMPARE(pr->maximum(), 65535);
        QCOMPARE(pr->value(), 0);

        QVERIFY(ui->control<QLabel>("L")->font().bold());
        QVERIFY(!ui->control<QLabel>("Label1")->font().bold());
        QCOMPARE(ui->button("Knop")->font().pointSizeF(), 8.25);
        QVERIFY(QFontMetrics(ui->button("Knop")->font()).inFont(QChar(u'Ж')));

        for (const char *name : {"Command1", "Command2", "Command3", "Knop"}) {
            QVERIFY(!ui->button(name)->isDefault());
            QVERIFY(!ui->button(name)->autoDefault());
        }
    }

    void menusHaveTheirCaptionsAndNoShortcuts()
    {
        QStringList bar;
        QStringList items;
        for (QAction *entry : ui->form.menuBar()->actions()) {
            bar << entry->text();
            for (QAction *item : entry->menu()->actions()) {
                items << item->objectName() + QLatin1Char('=') + item->text();
                QVERIFY(item->shortcut().isEmpty());
                QVERIFY(!item->isSeparator() && item->isEnabled() && !item->isCheckable());
            }
        }
        QCOMPARE(bar, (QStringList{QStringLiteral("Файл"), QStringLiteral("Справка")}));
        QCOMPARE(items,
                 (QStringList{QStringLiteral("MnOpen=Открыть"), QStringLiteral("MnSave=Сохранить"),
                              QStringLiteral("MnKod=Кодировать/Декодировать"),
                              QStringLiteral("MnStp=Остановить"), QStringLiteral("MnExit=Выход"),
                              QStringLiteral("mnuAbout=О программе")}));
    }

    void focusStartsOnKnopAndTabCyclesTheCommands()
    {
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        QCOMPARE(QApplication::focusWidget(), ui->button("Knop"));
        QStringList order;
        for (int i = 0; i < 7; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{"Knop", "Command1", "Command2", "Command3", "T1", "T2", "Knop"}));
    }

    void spaceAtStartReportsTheEmptySource()
    {
        QVERIFY(QTest::qWaitForWindowActive(&ui->form));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(ui->dialogs.texts(),
                 QStringList{QStringLiteral("Введите текст в поле Оригинал!")});
    }

    void longLinesScrollInsteadOfWrapping()
    {
        const QString line(500, QChar(u'ж'));
        ui->type(ui->T1(), line);
        QCOMPARE(ui->T1()->document()->blockCount(), 1);
        QVERIFY(ui->T1()->horizontalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(Form1LayoutTest)
#include "tst_form1_layout.moc"
