// The About window as the user meets it: opened from the menu, read, closed
// with the button or the keyboard, and asked for the system-information tool
// on a system that has none.

#include "scripteddialogs.h"
#include "about/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

// Opens the window as the main window does and runs `whileOpen` inside its
// modal loop. Returns whether the window was still open afterwards; it is then
// closed so that the test goes on.
bool stillOpenAfter(frmAbout &about, const std::function<void()> &whileOpen)
{
    bool open = false;
    QTimer::singleShot(0, &about, [&] {
        whileOpen();
        open = about.isVisible();
        if (open)
            about.reject();
    });
    about.showModal();
    return open;
}

void press(frmAbout &about, Qt::Key key)
{
    QTest::keyClick(about.focusWidget(), key);
}

} // namespace

class FrmAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void eachOpeningLoadsTheTexts();
    void okEnterAndEscClose();
    void sysInfoSaysUnavailableAndStaysOpen();

private:
    ScriptedDialogs dialogs;
};

void FrmAboutTest::eachOpeningLoadsTheTexts()
{
    frmAbout about(dialogs);
    const auto text = [&](const char *name) { return about.findChild<QLabel *>(name)->text(); };
    for (int opening = 0; opening < 2; ++opening) {
        QVERIFY(stillOpenAfter(about, [&] {
            QCOMPARE(about.windowTitle(), QStringLiteral("About Вельтор"));
            QCOMPARE(text("lblTitle"), QStringLiteral("Вельтор"));
            QCOMPARE(text("lblVersion"), QStringLiteral("Version 1.0.0"));
            QCOMPARE(text("lblDisclaimer"), QStringLiteral("Warning: ..."));
            QCOMPARE(about.focusWidget(), about.findChild<QPushButton *>("cmdOK"));
            // Leftovers that the next opening must not show.
            about.setWindowTitle(QStringLiteral("stale"));
            about.findChild<QLabel *>("lblTitle")->setText(QStringLiteral("stale"));
            about.findChild<QLabel *>("lblVersion")->setText(QStringLiteral("stale"));
            about.findChild<QPushButton *>("cmdSysInfo")->setFocus();
        }));
    }
}

void FrmAboutTest::okEnterAndEscClose()
{
    frmAbout about(dialogs);
    QVERIFY(!stillOpenAfter(about, [&] { press(about, Qt::Key_Return); })); // on OK
    QVERIFY(!stillOpenAfter(about, [&] {
        about.findChild<QPushButton *>("cmdSysInfo")->setFocus();
        press(about, Qt::Key_Escape);
    }));
    QVERIFY(!stillOpenAfter(about, [&] {
        QTest::mouseClick(about.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    }));
    QVERIFY(dialogs.shown.isEmpty());
}

// A click, then Enter on the button, each tell the user so and leave the window open.
void FrmAboutTest::sysInfoSaysUnavailableAndStaysOpen()
{
#ifdef _WIN32
    QSKIP("Windows has a registry; this checks the stand-in of other systems");
#endif
    ScriptedDialogs dialogs;
    frmAbout about(dialogs);
    auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
    QVERIFY(stillOpenAfter(about, [&] {
        QTest::mouseClick(cmdSysInfo, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        cmdSysInfo->setFocus();
        press(about, Qt::Key_Return);
    }));
    QCOMPARE(dialogs.shown.size(), 2);
    for (const auto &box : dialogs.shown) {
        QCOMPARE(box.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(box.style, MsgBox::OkOnly);
        QCOMPARE(box.title, QStringLiteral("Вельтор"));
    }
}

QTEST_MAIN(FrmAboutTest)
#include "tst_frmabout.moc"
