// The About window as the user meets it: opened from the menu, read, closed
// with the button or the keyboard, and asked for the system-information tool
// on a system that has none.

#include "../scripteddialogs.h"
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

void press(frmAbout &about, int key)
{
    QTest::keyClick(about.focusWidget(), Qt::Key(key));
}

} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void showsTitleAndVersionWhenOpened();
    void reopeningLoadsAfresh();
    void okEnterAndEscClose_data();
    void okEnterAndEscClose();
    void sysInfoSaysUnavailableAndStaysOpen_data();
    void sysInfoSaysUnavailableAndStaysOpen();
    void layout();

private:
    ScriptedDialogs dialogs;
};

void TestFrmAbout::showsTitleAndVersionWhenOpened()
{
    frmAbout about(dialogs);
    QVERIFY(stillOpenAfter(about, [&] {
        QCOMPARE(QApplication::activeModalWidget(), &about);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Вельтор"));
        QCOMPARE(about.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Вельтор"));
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 1.0.0"));
        QCOMPARE(about.findChild<QLabel *>("lblDisclaimer")->text(),
                 QStringLiteral("Warning: ..."));
        QCOMPARE(about.focusWidget(), about.findChild<QPushButton *>("cmdOK"));
    }));
}

void TestFrmAbout::reopeningLoadsAfresh()
{
    frmAbout about(dialogs);
    auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
    stillOpenAfter(about, [&] {
        cmdSysInfo->setFocus();
        press(about, Qt::Key_Escape);
    });
    // Leftovers that the next opening must not show.
    about.setWindowTitle(QStringLiteral("stale"));
    about.findChild<QLabel *>("lblTitle")->setText(QStringLiteral("stale"));
    about.findChild<QLabel *>("lblVersion")->setText(QStringLiteral("stale"));

    stillOpenAfter(about, [&] {
        QCOMPARE(about.windowTitle(), QStringLiteral("About Вельтор"));
        QCOMPARE(about.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Вельтор"));
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 1.0.0"));
        QCOMPARE(about.focusWidget(), about.findChild<QPushButton *>("cmdOK"));
    });
}

void TestFrmAbout::okEnterAndEscClose_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");

    QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter);
    QTest::newRow("Esc on OK") << "cmdOK" << int(Qt::Key_Escape);
    QTest::newRow("Esc on System Info") << "cmdSysInfo" << int(Qt::Key_Escape);
    QTest::newRow("Space on OK") << "cmdOK" << int(Qt::Key_Space);
}

void TestFrmAbout::okEnterAndEscClose()
{
    QFETCH(QString, focus);
    QFETCH(int, key);

    frmAbout about(dialogs);
    QVERIFY(!stillOpenAfter(about, [&] {
        about.findChild<QPushButton *>(focus)->setFocus();
        press(about, key);
    }));
    QVERIFY(!stillOpenAfter(about, [&] {
        QTest::mouseClick(about.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    }));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestFrmAbout::sysInfoSaysUnavailableAndStaysOpen_data()
{
    QTest::addColumn<std::function<void(frmAbout &)>>("ask");

    const auto button = [](frmAbout &about) {
        return about.findChild<QPushButton *>("cmdSysInfo");
    };
    QTest::newRow("click") << std::function<void(frmAbout &)>(
        [=](frmAbout &about) { QTest::mouseClick(button(about), Qt::LeftButton); });
    QTest::newRow("Enter on the button") << std::function<void(frmAbout &)>([=](frmAbout &about) {
        button(about)->setFocus();
        press(about, Qt::Key_Return);
    });
    QTest::newRow("Alt+S") << std::function<void(frmAbout &)>([=](frmAbout &about) {
        // Access keys work in the active window only, come from the window
        // system rather than a widget, and press the button a moment later.
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QSignalSpy clicked(button(about), &QPushButton::clicked);
        QTest::keyClick(about.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(clicked.wait());
    });
    QTest::newRow("Tab to the button, Space")
        << std::function<void(frmAbout &)>([](frmAbout &about) {
               press(about, Qt::Key_Tab);
               press(about, Qt::Key_Space);
           });
}

void TestFrmAbout::sysInfoSaysUnavailableAndStaysOpen()
{
#ifdef _WIN32
    QSKIP("Windows has a registry; this checks the stand-in of other systems");
#endif
    QFETCH(std::function<void(frmAbout &)>, ask);

    ScriptedDialogs dialogs;
    frmAbout about(dialogs);
    QVERIFY(stillOpenAfter(about, [&] {
        ask(about);
        QCOMPARE(dialogs.shown.size(), 1);
        QTest::mouseClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);
    }));
    QCOMPARE(dialogs.shown.size(), 2);
    for (const auto &box : dialogs.shown) {
        QCOMPARE(box.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(box.style, MsgBox::OkOnly);
        QCOMPARE(box.title, QStringLiteral("Вельтор"));
    }
}

void TestFrmAbout::layout()
{
    frmAbout about(dialogs);
    QCOMPARE(about.parentWidget(), nullptr);
    QCOMPARE(about.size(), QSize(382, 237));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!(about.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);

    const QList<std::pair<const char *, QRect>> controls{
        {"picIcon", {16, 16, 36, 36}},         {"cmdOK", {283, 175, 84, 23}},
        {"cmdSysInfo", {284, 205, 83, 23}},    {"lblDescription", {70, 75, 259, 78}},
        {"lblTitle", {70, 16, 259, 32}},       {"lblVersion", {70, 52, 259, 15}},
        {"lblDisclaimer", {17, 175, 258, 55}},
    };
    for (const auto &[name, geometry] : controls) {
        auto *control = about.findChild<QWidget *>(name);
        QVERIFY2(control, name);
        QCOMPARE(control->geometry(), geometry);
    }
    QCOMPARE(about.findChild<QLabel *>("picIcon")->contentsRect().size(), QSize(32, 32));
    QCOMPARE(about.findChild<QPushButton *>("cmdSysInfo")->text(),
             QStringLiteral("&System Info..."));

    // An etched line: grey, with a wider white line one pixel below.
    QList<QWidget *> lines = about.findChildren<QWidget *>("Line1");
    QCOMPARE(lines.size(), 2);
    std::sort(lines.begin(), lines.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
    QCOMPARE(lines[0]->geometry(), QRect(6, 163, 371, 1));
    QCOMPARE(lines[0]->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(lines[1]->geometry(), QRect(7, 164, 370, 2));
    QCOMPARE(lines[1]->palette().color(QPalette::Window), QColor(Qt::white));
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
