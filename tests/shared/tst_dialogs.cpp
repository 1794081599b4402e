#include "shared/dialogs.h"
#include "shared/translation.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Buttons in the order a GNOME desktop lays them out: Нет before Да.
class GnomeButtonOrder : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        return hint == SH_DialogButtonLayout ? QDialogButtonBox::GnomeLayout
                                             : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The real message boxes, answered with the mouse or the keyboard.
class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installQtRussianTranslation(*qApp); }

    void boxesShowTheirStyleAndAnswer_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("press"); // a button's caption, or the Return key
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("buttons"); // as Ctrl+C copies them
        QTest::addColumn<bool>("gnome");
        QTest::newRow("notice") << 48 << "OK" << 1 << int(QMessageBox::Warning) << "OK   " << false;
        QTest::newRow("plain") << 0 << "OK" << 1 << int(QMessageBox::NoIcon) << "OK   " << false;
        QTest::newRow("Да by Return") << 4 << "Return" << 6 << 0 << "Да   Нет   " << false;
        QTest::newRow("Нет") << 4 << "Нет" << 7 << 0 << "Да   Нет   " << false;
        QTest::newRow("Да by Return, Нет first")
            << 4 << "Return" << 6 << 0 << "Да   Нет   " << true;
    }
    void boxesShowTheirStyleAndAnswer()
    {
        QFETCH(int, style);
        QFETCH(QString, press);
        QFETCH(int, answer);
        QFETCH(int, icon);
        QFETCH(QString, buttons);
        QFETCH(bool, gnome);
        const QString usualStyle = QApplication::style()->name();
        if (gnome)
            QApplication::setStyle(new GnomeButtonOrder); // the application owns it
        int shownIcon = -1;
        QString copied;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shownIcon = box->icon();
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier); // copies it, as on Windows
            copied = QGuiApplication::clipboard()->text();
            if (press == QLatin1String("Return"))
                QTest::keyClick(box, Qt::Key_Return);
            for (QAbstractButton *button : box->buttons()) {
                if (button->text().remove('&') == press)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
            if (box->isVisible()) // the key did nothing
                box->reject();
        });
        Dialogs dialogs;
        QCOMPARE(dialogs.messageBox(nullptr, QStringLiteral("Готово!"), style,
                                    QStringLiteral("Вельтор")),
                 answer);
        QApplication::setStyle(usualStyle);
        QCOMPARE(shownIcon, icon);
        const QString line = QStringLiteral("---------------------------\n");
        QCOMPARE(copied, line + "Вельтор\n" + line + "Готово!\n" + line + buttons + '\n' + line);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
