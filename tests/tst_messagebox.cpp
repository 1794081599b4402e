#include "mainwindow/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The real message boxes, answered by clicking their buttons.
class MessageBoxTest : public QObject
{
    Q_OBJECT

    QString title_;
    QString text_;
    QStringList buttons_;
    QMessageBox::Icon icon_ = QMessageBox::NoIcon;

    // Once the box is shown, notes what it shows and clicks the button
    // captioned `answer`.
    void answerWhenShown(const QString &answer)
    {
        QTimer::singleShot(0, this, [this, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title_ = box->windowTitle();
            text_ = box->text();
            icon_ = box->icon();
            QAbstractButton *chosen = nullptr;
            for (QAbstractButton *button : box->buttons()) {
                buttons_ << button->text().remove(QLatin1Char('&'));
                if (buttons_.last() == answer)
                    chosen = button;
            }
            QVERIFY(chosen);
            QTest::mouseClick(chosen, Qt::LeftButton);
        });
    }

private slots:
    void initTestCase() { installQtRussianTranslation(*qApp); }
    void init() { buttons_.clear(); }

    void noticeHasAnExclamationAndOk()
    {
        Dialogs dialogs;
        answerWhenShown(QStringLiteral("OK"));
        QCOMPARE(dialogs.messageBox(nullptr, QStringLiteral("Обработка завершена!"),
                                    MsgBox::Exclamation, QStringLiteral("Вельтор")),
                 MsgBox::Ok);
        QCOMPARE(title_, QStringLiteral("Вельтор"));
        QCOMPARE(text_, QStringLiteral("Обработка завершена!"));
        QCOMPARE(icon_, QMessageBox::Warning);
        QCOMPARE(buttons_, QStringList{QStringLiteral("OK")});
    }

    void questionAsksYesOrNoInRussian_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("Да") << QStringLiteral("Да") << MsgBox::Yes;
        QTest::newRow("Нет") << QStringLiteral("Нет") << MsgBox::No;
    }
    void questionAsksYesOrNoInRussian()
    {
        QFETCH(QString, answer);
        QFETCH(int, code);
        Dialogs dialogs;
        answerWhenShown(answer);
        QCOMPARE(dialogs.messageBox(nullptr, QStringLiteral("Хотите выйти?!"), MsgBox::YesNo,
                                    QStringLiteral("Вельтор")),
                 code);
        QCOMPARE(icon_, QMessageBox::NoIcon);
        buttons_.sort();
        QCOMPARE(buttons_, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
    }

    void plainBoxHasNoIcon()
    {
        Dialogs dialogs;
        answerWhenShown(QStringLiteral("OK"));
        QCOMPARE(dialogs.messageBox(
                     nullptr, QStringLiteral("System Information Is Unavailable At This Time"),
                     MsgBox::OkOnly, QStringLiteral("Вельтор")),
                 MsgBox::Ok);
        QCOMPARE(icon_, QMessageBox::NoIcon);
    }

    // Ctrl+C copies what the box says, the way Windows lays it out.
    void ctrlCCopiesTitleTextAndButtons()
    {
        Dialogs dialogs;
        QTimer::singleShot(0, this, [] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            QWidget *focused = box->focusWidget() ? box->focusWidget() : box;
            QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(focused, Qt::Key_Return);
        });
        QCOMPARE(dialogs.messageBox(nullptr, QStringLiteral("Обработка завершена!"),
                                    MsgBox::Exclamation, QStringLiteral("Вельтор")),
                 MsgBox::Ok);
        const QString line = QStringLiteral("---------------------------\n");
        QCOMPARE(QApplication::clipboard()->text(),
                 line + QStringLiteral("Вельтор\n") + line + QStringLiteral("Обработка завершена!\n") +
                     line + QStringLiteral("OK   \n") + line);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "tst_messagebox.moc"
