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

// Value types and status codes as Windows numbers them.
constexpr std::uint32_t RegSz = 1, RegDword = 4, RegBinary = 3;
constexpr long Success = 0, FileNotFound = 2, MoreData = 234;

struct Value
{
    std::uint32_t type = RegSz;
    std::string data; // the stored bytes, with a terminating zero only when written here
};
using Keys = std::map<std::string, std::map<std::string, Value>>; // key -> name -> value

const std::string PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString Tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

Value text(const std::string &s)
{
    return {RegSz, s + '\0'};
}

// Only the tool's file exists, so only it starts.
struct ScriptedSystem : sysinfo::Registry, sysinfo::FileQuery, sysinfo::Launcher
{
    Keys keys;
    std::vector<std::string> opened; // by handle - 1
    int openKeys = 0;
    QStringList launches, wrongAccess;

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
        const std::string &bytes = found->second.data;
        if (bytes.size() > std::exchange(size, bytes.size()))
            return MoreData;
        std::copy(bytes.begin(), bytes.end(), data);
        type = found->second.type;
        return Success;
    }
    void closeKey(sysinfo::KeyHandle) override { --openKeys; }
    bool isOrdinaryFile(const std::string &path) override
    {
        return QString::fromStdString(path) == Tool;
    }
    bool start(const std::string &program) override
    {
        launches << QString::fromStdString(program);
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
    void opensAfreshAndCloses()
    {
        ScriptedDialogs dialogs;
        frmAbout about(dialogs);
        const auto label = [&](const char *name) { return about.findChild<QLabel *>(name); };
        auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        for (int opening = 0; opening < 2; ++opening) {
            QVERIFY(stillOpenAfter(about, [&] {
                QCOMPARE((QStringList{about.windowTitle(), label("lblTitle")->text(),
                                      label("lblVersion")->text()}),
                         (QStringList{"About Вельтор", "Вельтор", "Version 1.0.0"}));
                QCOMPARE(about.focusWidget(), about.findChild<QPushButton *>("cmdOK"));
                // Leftovers that the next opening must not show.
                about.setWindowTitle(QStringLiteral("stale"));
                label("lblTitle")->setText(QStringLiteral("stale"));
                label("lblVersion")->setText(QStringLiteral("stale"));
                cmdSysInfo->setFocus();
            }));
        }
        QVERIFY(
            !stillOpenAfter(about, [&] { QTest::keyClick(about.focusWidget(), Qt::Key_Return); }));
        QVERIFY(!stillOpenAfter(about, [&] { QTest::keyClick(cmdSysInfo, Qt::Key_Escape); }));
        QVERIFY(!stillOpenAfter(about, [&] {
            QTest::mouseClick(about.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        }));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void sysInfoStartsTheToolTheRegistryNames_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QStringList>("launches");
        const auto path = [](const Value &v) { return Keys::value_type{PathKey, {{"PATH", v}}}; };
        const auto folder = [](const char *f) {
            return Keys::value_type{FolderKey, {{"MSINFO", text(f)}}};
        };
        const auto toolFolder = folder("C:\\Program Files\\Tools");
        const std::string x1023(1023, 'x');
        const auto q = [](const std::string &s) { return QStringList{QString::fromStdString(s)}; };
        // The path value is started as read, without looking for the file first.
        QTest::newRow("path with its zero")
            << Keys{path(text(Tool.toStdString())), toolFolder} << QStringList{Tool};
        QTest::newRow("1024 bytes with the zero, read whole")
            << Keys{path(text(x1023))} << q(x1023);
        QTest::newRow("1024 bytes without a zero, read whole")
            << Keys{path({RegSz, x1023 + 'y'})} << q(x1023 + 'y');
        QTest::newRow("32-bit number as decimal")
            << Keys{path({RegDword, std::string("\x78\x56\x34\x12", 4)})} << q("305419896");
        QTest::newRow("path of another type is left empty")
            << Keys{path({RegBinary, "\x01"}), toolFolder} << q("");
        // Otherwise the folder value, when it holds the tool.
        QTest::newRow("1025 bytes are not found, the folder is")
            << Keys{path(text(x1023 + 'y')), toolFolder} << QStringList{Tool};
        QTest::newRow("zero-length path, the folder is")
            << Keys{path({RegSz, ""}), toolFolder} << QStringList{Tool};
        QTest::newRow("folder without the tool") << Keys{folder("C:\\Tools")} << QStringList{};
        QTest::newRow("key without the path, no folder key")
            << Keys{{PathKey, {}}} << QStringList{};
    }
    // A click, then Return on the button: each looks afresh, and the window
    // stays open either way.
    void sysInfoStartsTheToolTheRegistryNames()
    {
        QFETCH(Keys, keys);
        QFETCH(QStringList, launches);
        ScriptedSystem system;
        system.keys = keys;
        ScriptedDialogs dialogs;
        frmAbout about(dialogs, {system, system, system});
        auto *cmdSysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        QVERIFY(stillOpenAfter(about, [&] {
            QTest::mouseClick(cmdSysInfo, Qt::LeftButton);
            cmdSysInfo->setFocus();
            QTest::keyClick(cmdSysInfo, Qt::Key_Return);
        }));
        QCOMPARE(system.launches, launches + launches);
        QCOMPARE(dialogs.texts(), QStringList(launches == QStringList{Tool} ? 0 : 2, Unavailable));
        for (const ScriptedDialogs::Box &box : dialogs.shown)
            QVERIFY(box.style == MsgBox::OkOnly && box.title == QStringLiteral("Вельтор"));
        QCOMPARE(system.wrongAccess, QStringList());
        QCOMPARE(system.openKeys, 0);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
