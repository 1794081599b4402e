// Finding and starting the system-information tool, against a scripted
// registry, file system and process start.

#include "about/sysinfo.h"

#include <QtTest>

#include <algorithm>
#include <map>

namespace {

struct Value
{
    std::uint32_t type = sysinfo::RegSz;
    std::string data;
};

// Key path -> value name -> value.
using Keys = std::map<std::string, std::map<std::string, Value>>;

const std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

Value text(const std::string &s)
{
    return {sysinfo::RegSz, s + '\0'};
}

class ScriptedRegistry : public sysinfo::Registry
{
public:
    struct Open
    {
        sysinfo::RootKey root;
        std::uint32_t options;
        std::uint32_t access;
    };

    explicit ScriptedRegistry(Keys keys) : keys_(std::move(keys)) {}

    long openKey(sysinfo::RootKey root, const std::string &keyName, std::uint32_t options,
                 std::uint32_t access, sysinfo::KeyHandle &key) override
    {
        opens.push_back({root, options, access});
        const auto found = keys_.find(keyName);
        if (found == keys_.end())
            return sysinfo::ErrorFileNotFound;
        opened_.push_back(&found->second);
        key = opened_.size();
        ++openKeys;
        return sysinfo::ErrorSuccess;
    }

    long queryValue(sysinfo::KeyHandle key, const std::string &valueName, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const auto &values = *opened_.at(key - 1);
        const auto found = values.find(valueName);
        if (found == values.end())
            return sysinfo::ErrorFileNotFound;
        const Value &value = found->second;
        if (value.data.size() > size) {
            size = value.data.size();
            return sysinfo::ErrorMoreData;
        }
        // The stored bytes as they are, with a terminating zero only when stored.
        std::copy(value.data.begin(), value.data.end(), data);
        size = value.data.size();
        type = value.type;
        return sysinfo::ErrorSuccess;
    }

    void closeKey(sysinfo::KeyHandle) override { --openKeys; }

    std::vector<Open> opens;
    int openKeys = 0;

private:
    Keys keys_;
    std::vector<const std::map<std::string, Value> *> opened_;
};

// Files that exist; as on Windows, only those can be started.
class ScriptedFiles : public sysinfo::FileQuery, public sysinfo::Launcher
{
public:
    explicit ScriptedFiles(const QStringList &files) : files_(files) {}

    bool isOrdinaryFile(const std::string &path) override
    {
        return files_.contains(QString::fromStdString(path));
    }

    bool start(const std::string &program) override
    {
        launches << QString::fromStdString(program);
        return isOrdinaryFile(program);
    }

    QStringList launches;

private:
    QStringList files_;
};

} // namespace

class TestSysInfo : public QObject
{
    Q_OBJECT

private slots:
    void getKeyValue_data();
    void getKeyValue();
    void keysAreOpenedReadOnlyAndClosed();
    void startSysInfo_data();
    void startSysInfo();
    void everyClickStartsTheToolAgain();
};

void TestSysInfo::getKeyValue_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("keyVal");

    const QByteArray stale = "left from before";
    const auto value = [](const Value &v) { return Keys{{"K", {{"V", v}}}}; };
    const std::string long1023(1023, 'x');

    QTest::newRow("text with its terminating zero")
        << value(text("C:\\Tools")) << true << QByteArray("C:\\Tools");
    QTest::newRow("text without a terminating zero")
        << value({sysinfo::RegSz, "C:\\Tools"}) << true << QByteArray("C:\\Tools");
    QTest::newRow("1024 bytes with the zero, read whole")
        << value(text(long1023)) << true << QByteArray(long1023.c_str());
    QTest::newRow("1024 bytes without a zero, read whole")
        << value({sysinfo::RegSz, long1023 + 'y'}) << true << QByteArray((long1023 + 'y').c_str());
    QTest::newRow("1025 bytes, not found") << value(text(long1023 + 'y')) << false << QByteArray();
    QTest::newRow("zero-length data, not found")
        << value({sysinfo::RegSz, ""}) << false << QByteArray();
    QTest::newRow("32-bit number as decimal")
        << value({sysinfo::RegDword, std::string("\x78\x56\x34\x12", 4)}) << true
        << QByteArray("305419896");
    QTest::newRow("other type leaves the text as it was")
        << value({3, "\x01\x02"}) << true << stale;
    QTest::newRow("missing value") << Keys{{"K", {}}} << false << QByteArray();
    QTest::newRow("missing key") << Keys{} << false << QByteArray();
}

void TestSysInfo::getKeyValue()
{
    QFETCH(Keys, keys);
    QFETCH(bool, found);
    QFETCH(QByteArray, keyVal);

    ScriptedRegistry registry(keys);
    std::string result = "left from before";
    QCOMPARE(sysinfo::GetKeyValue(registry, sysinfo::HKeyLocalMachine, "K", "V", result), found);
    QCOMPARE(QByteArray::fromStdString(result), keyVal);
}

void TestSysInfo::keysAreOpenedReadOnlyAndClosed()
{
    ScriptedRegistry registry({{pathKey, {}}, {folderKey, {{"MSINFO", text("C:\\Tools")}}}});
    ScriptedFiles files({});
    QVERIFY(!sysinfo::StartSysInfo({registry, files, files}));

    QCOMPARE(registry.opens.size(), 2u);
    for (const auto &open : registry.opens) {
        QCOMPARE(open.root, 0x80000002u);
        QCOMPARE(open.options, 0u);
        QCOMPARE(open.access, 0x20019u);
    }
    QCOMPARE(registry.openKeys, 0);
}

void TestSysInfo::startSysInfo_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("launches");
    QTest::addColumn<bool>("started");

    const QString tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");
    const Value folder = text("C:\\Program Files\\Tools");
    const Keys bothValues{{pathKey, {{"PATH", text(tool.toStdString())}}},
                          {folderKey, {{"MSINFO", text("C:\\Elsewhere")}}}};

    QTest::newRow("first value names the tool")
        << bothValues << QStringList{tool} << QStringList{tool} << true;
    QTest::newRow("first value is started without looking for the file")
        << bothValues << QStringList{} << QStringList{tool} << false;
    QTest::newRow("second value names the folder holding the tool")
        << Keys{{folderKey, {{"MSINFO", folder}}}} << QStringList{tool} << QStringList{tool}
        << true;
    QTest::newRow("folder without the tool")
        << Keys{{folderKey, {{"MSINFO", folder}}}} << QStringList{} << QStringList{} << false;
    QTest::newRow("neither key") << Keys{} << QStringList{tool} << QStringList{} << false;
    QTest::newRow("keys without the values")
        << Keys{{pathKey, {}}, {folderKey, {}}} << QStringList{tool} << QStringList{} << false;
    QTest::newRow("first value of another type starts nothing")
        << Keys{{pathKey, {{"PATH", {3, "\x01"}}}}, {folderKey, {{"MSINFO", folder}}}}
        << QStringList{tool} << QStringList{QString()} << false;
    QTest::newRow("empty first value, then the folder")
        << Keys{{pathKey, {{"PATH", {sysinfo::RegSz, ""}}}}, {folderKey, {{"MSINFO", folder}}}}
        << QStringList{tool} << QStringList{tool} << true;
}

void TestSysInfo::startSysInfo()
{
    QFETCH(Keys, keys);
    QFETCH(QStringList, files);
    QFETCH(QStringList, launches);
    QFETCH(bool, started);

    ScriptedRegistry registry(keys);
    ScriptedFiles system(files);
    QCOMPARE(sysinfo::StartSysInfo({registry, system, system}), started);
    QCOMPARE(system.launches, launches);
}

void TestSysInfo::everyClickStartsTheToolAgain()
{
    const std::string tool = "C:\\Tools\\MSINFO32.EXE";
    ScriptedRegistry registry({{pathKey, {{"PATH", text(tool)}}}});
    ScriptedFiles system({QString::fromStdString(tool)});
    for (int click = 0; click < 3; ++click)
        QVERIFY(sysinfo::StartSysInfo({registry, system, system}));
    QCOMPARE(system.launches.size(), 3);
}

QTEST_APPLESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
