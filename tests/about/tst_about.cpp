// The About window as the user meets it, with the system-information tool
// found through a scripted registry, file system and process start.

#include "about/frmabout.h"
#include "scripteddialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <utility>

namespace {

// The value types and status codes as Windows numbers them.
constexpr std::uint32_t RegSz = 1, RegDword = 4;
constexpr long Success = 0, FileNotFound = 2, MoreData = 234;

// key -> name -> the bytes of a text value, with a terminating zero only when written here, or
// of a number after "dword:"
using Keys = std::map<std::string, std::map<std::string, std::string>>;

const std::string PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString Tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

// Only the tool's file exists, so only it starts.
struct ScriptedSystem : sysinfo::Registry, sysinfo::FileQuery, sysinfo::Launcher
{
    Keys keys;
    std::vector<std::string> opened; // by handle - 1
    int openKeys = 0;
    QStringList seen, wrongAccess; // programs started and notices shown

    long openKey(sysinfo::RootKey root, const std::string &name, std::uint32_t options,
                 std::uint32_t access, sysinfo::KeyHandle &key) override
    {
        if (root != 0x80000002u || options != 0 || access != 0x20019u) // HKLM, KEY_READ
            wrongAccess << QString::fromStdString(name);
        if (!keys.count(name))
            return FileNotFound;
        opened.push_back(name);
        key = opened.size();
        ++openKeys;
        return Success;
    }
    long queryValue(sysinfo::KeyHandle key, const std::string &name, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const auto &values = keys.at(opened.at(key - 1));
        const auto found = values.find(name);
        if (found == values.end())
            return FileNotFound;
        const bool dword = found->second.rfind("dword:", 0) == 0;
        const std::string bytes = found->second.substr(dword ? 6 : 0);
        if (bytes.size() > std::exchange(size, bytes.size()))
            return MoreData;
        std::copy(bytes.begin(), bytes.end(), data);
        type = dword ? RegDword : RegSz;
        return Success;
    }
    void closeKey(sysinfo::KeyHandle) override { --openKeys; }
    bool isOrdinaryFile(const std::string &path) override
    {
        return QString::fromStdString(path) == Tool;
    }
    bool start(const std::string &program) override
    {
        seen << QString::fromStdString(program);
        return isOrdinaryFile(program);
    }
};

// Shows the window as the main window does and runs `whileOpen` inside its
// modal loop. Returns whether the window was still open afterwards.
bool stillOpenAfter(frmAbout &about, const std::function<void()> &whileOpen)
{
    bool open = false;
    QTimer::singleShot(0, &about, [&] {
        whileOpen();
        if ((open = about.isVisible()))
            about.reject();
    });
    about.showModal();
    return open;
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    // The window opens on OK; Return there, Esc and a click on OK close it.
    // On a desktop whose text is grey, the captions designed black stay black.
    void opensOnOkAndCloses()
    {
        QPalette greyText = QApplication::palette();
        greyText.setColor(QPalette::WindowText, Qt::darkGray);
        const auto restore =
            qScopeGuard([p = QApplication::palette()] { QApplication::setPalette(p); });
        QApplication::setPalette(greyText);
        ScriptedDialogs dialogs;
        frmAbout about(dialogs);
        auto *cmdOK = about.findChild<QPushButton *>("cmdOK");
        auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        QVERIFY(!stillOpenAfter(about, [&] {
            QVERIFY(about.windowTitle() == QStringLiteral("About Вельтор") &&
                    about.focusWidget() == cmdOK);
            for (const char *name : {"lblTitle", "lblDescription", "lblDisclaimer"}) {
                const QImage seen = about.findChild<QLabel *>(name)->grab().toImage();
                int darkest = 255; // darkGray text would be 128
                for (int y = 0; y < seen.height(); ++y)
                    for (int x = 0; x < seen.width(); ++x)
                        darkest = std::min(darkest, qGray(seen.pixel(x, y)));
                QVERIFY2(darkest < 64, name);
            }
            QTest::keyClick(cmdOK, Qt::Key_Return);
        }));
        QVERIFY(!stillOpenAfter(about, [&] { QTest::keyClick(cmdSysInfo, Qt::Key_Escape); }));
        QVERIFY(!stillOpenAfter(about, [&] { QTest::mouseClick(cmdOK, Qt::LeftButton); }));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void sysInfoStartsTheToolTheRegistryNames_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QStringList>("seen"); // what a press starts and shows
        const auto path = [](const std::string &bytes) {
            return Keys::value_type{PathKey, {{"PATH", bytes}}};
        };
        const auto folder = [](const std::string &name) {
            return Keys::value_type{FolderKey, {{"MSINFO", name + '\0'}}};
        };
        const auto toolFolder = folder("C:\\Program Files\\Tools");
        const std::string x1024(1024, 'x');
        // The path value is started as read, without looking for the file first.
        QTest::newRow("path with its zero")
            << Keys{path(Tool.toStdString() + '\0'), toolFolder} << QStringList{Tool};
        QTest::newRow("1024 bytes without a zero, read whole")
            << Keys{path(x1024)} << QStringList{QString::fromStdString(x1024), Unavailable};
        // Otherwise the folder value, when it holds the tool.
        QTest::newRow("1025 bytes are not found, the folder is")
            << Keys{path(x1024 + '\0'), toolFolder} << QStringList{Tool};
        QTest::newRow("zero-length path ends the look-up")
            << Keys{path(""), toolFolder} << QStringList{Unavailable};
        QTest::newRow("folder without the tool")
            << Keys{folder("C:\\Tools")} << QStringList{Unavailable};
        QTest::newRow("neither value") << Keys{} << QStringList{Unavailable};
        QTest::newRow("a number, started as its digits")
            << Keys{path("dword:\x01\x82\x03\xF4")} << QStringList{"4093870593", Unavailable};
    }
    // A click, then Return on the button: each looks afresh, and the window
    // stays open either way.
    void sysInfoStartsTheToolTheRegistryNames()
    {
        QFETCH(Keys, keys);
        QFETCH(QStringList, seen);
        ScriptedSystem system;
        system.keys = keys;
        ScriptedDialogs dialogs;
        dialogs.whileShown = [&] { system.seen << dialogs.shown.last().text; };
        frmAbout about(dialogs, {system, system, system});
        auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        QVERIFY(stillOpenAfter(about, [&] {
            QTest::mouseClick(cmdSysInfo, Qt::LeftButton);
            cmdSysInfo->setFocus();
            QTest::keyClick(cmdSysInfo, Qt::Key_Return);
        }));
        QCOMPARE(system.seen, seen + seen);
        for (const ScriptedDialogs::Box &box : dialogs.shown)
            QVERIFY(box.style == MsgBox::OkOnly && box.title == QStringLiteral("Вельтор"));
        QCOMPARE(system.wrongAccess, QStringList());
        QCOMPARE(system.openKeys, 0);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
