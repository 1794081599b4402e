// Finding and starting the system-information tool, against a scripted
// registry, file system and process start.

#include "about/sysinfo.h"

#include <QtTest>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Value
{
    std::uint32_t type = sysinfo::RegSz;
    std::string data; // the stored bytes, with a terminating zero only when written here
};

// Key path -> value name -> value.
using Keys = std::map<std::string, std::map<std::string, Value>>;

const std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");

Value text(const std::string &s)
{
    return {sysinfo::RegSz, s + '\0'};
}

class ScriptedSystem : public sysinfo::Registry, public sysinfo::FileQuery, public sysinfo::Launcher
{
public:
    explicit ScriptedSystem(Keys keys) : keys_(std::move(keys)) {}

    long openKey(sysinfo::RootKey root, const std::string &keyName, std::uint32_t options,
                 std::uint32_t access, sysinfo::KeyHandle &key) override
    {
        opens.emplace_back(root, options, access);
        const auto found = keys_.find(keyName);
        if (found == keys_.end())
            return sysinfo::ErrorFileNotFound;
        opened_.push_back(keyName);
        key = opened_.size(); // a handle is never 0
        ++openKeys;
        return sysinfo::ErrorSuccess;
    }

    long queryValue(sysinfo::KeyHandle key, const std::string &valueName, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const auto &values = keys_.at(opened_.at(key - 1));
        const auto found = values.find(valueName);
        if (found == values.end())
            return sysinfo::ErrorFileNotFound;
        const std::string &bytes = found->second.data;
        if (bytes.size() > std::exchange(size, bytes.size()))
            return sysinfo::ErrorMoreData;
        std::copy(bytes.begin(), bytes.end(), data);
        type = found->second.type;
        return sysinfo::ErrorSuccess;
    }

    void closeKey(sysinfo::KeyHandle) override { --openKeys; }

    bool isOrdinaryFile(const std::string &path) override
    {
        return QString::fromStdString(path) == tool;
    }

    bool start(const std::string &program) override
    {
        launches << QString::fromStdString(program);
        return isOrdinaryFile(program);
    }

    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> opens;
    int openKeys = 0;
    QStringList launches;

private:
    Keys keys_;
    std::vector<std::string> opened_; // by handle - 1
};

} // namespace

class SysInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void startSysInfo_data();
    void startSysInfo();
};

void SysInfoTest::startSysInfo_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QStringList>("launches");

    const auto path = [](const Value &v) { return Keys::value_type{pathKey, {{"PATH", v}}}; };
    const auto folder = [](const char *f) {
        return Keys::value_type{folderKey, {{"MSINFO", text(f)}}};
    };
    const auto toolFolder = folder("C:\\Program Files\\Tools");
    const std::string x1023(1023, 'x');
    const auto q = [](const std::string &s) { return QStringList{QString::fromStdString(s)}; };

    // The path value is started as read, without looking for the file first.
    QTest::newRow("path with its zero")
        << Keys{path(text(tool.toStdString())), toolFolder} << QStringList{tool};
    QTest::newRow("1024 bytes with the zero, read whole") << Keys{path(text(x1023))} << q(x1023);
    QTest::newRow("1024 bytes without a zero, read whole")
        << Keys{path({sysinfo::RegSz, x1023 + 'y'})} << q(x1023 + 'y');
    QTest::newRow("32-bit number as decimal")
        << Keys{path({sysinfo::RegDword, std::string("\x78\x56\x34\x12", 4)})} << q("305419896");
    QTest::newRow("path of another type is left empty")
        << Keys{path({3, "\x01"}), toolFolder} << q("");
    // Otherwise the folder value, when it holds the tool.
    QTest::newRow("1025 bytes are not found, the folder is")
        << Keys{path(text(x1023 + 'y')), toolFolder} << QStringList{tool};
    QTest::newRow("zero-length path, the folder is")
        << Keys{path({sysinfo::RegSz, ""}), toolFolder} << QStringList{tool};
    QTest::newRow("folder without the tool") << Keys{folder("C:\\Tools")} << QStringList{};
    QTest::newRow("key without the path, no folder key") << Keys{{pathKey, {}}} << QStringList{};
}

// Two clicks: each looks afresh and starts the tool again. Only the tool's
// file exists, so only it starts.
void SysInfoTest::startSysInfo()
{
    QFETCH(Keys, keys);
    QFETCH(QStringList, launches);

    ScriptedSystem system(keys);
    for (int click = 0; click < 2; ++click)
        QCOMPARE(sysinfo::StartSysInfo({system, system, system}), launches == QStringList{tool});
    QCOMPARE(system.launches, launches + launches);
    for (const auto &open : system.opens) // HKEY_LOCAL_MACHINE, KEY_READ
        QVERIFY(open == std::make_tuple(0x80000002u, 0u, 0x20019u));
    QCOMPARE(system.openKeys, 0);
}

QTEST_APPLESS_MAIN(SysInfoTest)
#include "tst_sysinfo.moc"
