// The launcher's Windows side against the real registry, file system and
// process start, run under Wine. The case to run is named on the command line.

#include "about/sysinfo.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

int failures = 0;

#define CHECK(condition) check((condition), #condition, __LINE__)

void check(bool ok, const char *what, int line)
{
    if (!ok) {
        std::printf("FAIL line %d: %s\n", line, what);
        ++failures;
    }
}

const std::string testKey = "SOFTWARE\\Veltor tests";
const std::string pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

void setValue(const std::string &key, const std::string &name, DWORD type, const char *data,
              DWORD size)
{
    HKEY opened = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &opened, nullptr);
    RegSetValueExA(opened, name.c_str(), 0, type, reinterpret_cast<const BYTE *>(data), size);
    RegCloseKey(opened);
}

void setText(const std::string &key, const std::string &name, const std::string &text)
{
    setValue(key, name, REG_SZ, text.c_str(), text.size() + 1);
}

// Wine adds a zero to text whose next byte in memory is a zero, so the stored
// bytes are followed by one that is not.
void setTextWithoutZero(const std::string &key, const std::string &name, const std::string &text)
{
    const std::string followed = text + '#';
    setValue(key, name, REG_SZ, followed.c_str(), text.size());
}

std::string folderOfThisProgram()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(0, path.rfind('\\'));
}

struct Lookup
{
    bool found;
    std::string keyVal;
    bool operator==(const Lookup &) const = default;
};

Lookup lookUp(const std::string &key, const std::string &name)
{
    std::string keyVal = "left from before";
    const bool found = sysinfo::GetKeyValue(sysinfo::systemPlatform().registry,
                                            sysinfo::HKeyLocalMachine, key, name, keyVal);
    return {found, keyVal};
}

void registry()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, testKey.c_str());
    const std::string chars1023(1023, 'x');
    const DWORD number = 0x12345678;
    setText(testKey, "with zero", "C:\\Program Files\\Tools");
    setTextWithoutZero(testKey, "without zero", "C:\\Tools");
    setText(testKey, "1024 bytes", chars1023);
    setTextWithoutZero(testKey, "1024 bytes without zero", chars1023 + 'y');
    setText(testKey, "1025 bytes", chars1023 + 'y');
    setValue(testKey, "empty", REG_SZ, "", 0);
    setValue(testKey, "number", REG_DWORD, reinterpret_cast<const char *>(&number), 4);
    setValue(testKey, "binary", REG_BINARY, "\x01\x02", 2);

    CHECK((lookUp(testKey, "with zero") == Lookup{true, "C:\\Program Files\\Tools"}));
    CHECK((lookUp(testKey, "without zero") == Lookup{true, "C:\\Tools"}));
    CHECK((lookUp(testKey, "1024 bytes") == Lookup{true, chars1023}));
    CHECK((lookUp(testKey, "1024 bytes without zero") == Lookup{true, chars1023 + 'y'}));
    CHECK((lookUp(testKey, "1025 bytes") == Lookup{false, ""}));
    CHECK((lookUp(testKey, "empty") == Lookup{false, ""}));
    CHECK((lookUp(testKey, "number") == Lookup{true, "305419896"}));
    CHECK((lookUp(testKey, "binary") == Lookup{true, "left from before"}));
    CHECK((lookUp(testKey, "missing") == Lookup{false, ""}));
    CHECK((lookUp(testKey + "\\missing", "with zero") == Lookup{false, ""}));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, testKey.c_str());
}

void files()
{
    const std::string folder = folderOfThisProgram() + "\\file query";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string plain = folder + "\\plain.exe";
    const std::string hidden = folder + "\\hidden.exe";
    const std::string directory = folder + "\\directory.exe";
    std::ofstream(plain) << "x";
    std::ofstream(hidden) << "x";
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA(directory.c_str(), nullptr);

    sysinfo::FileQuery &query = sysinfo::systemPlatform().files;
    CHECK(query.isOrdinaryFile(plain));
    CHECK(!query.isOrdinaryFile(directory));
    CHECK(!query.isOrdinaryFile(folder + "\\missing.exe"));
    CHECK(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    CHECK(!query.isOrdinaryFile(hidden));
}

// Waits, for a few seconds at most, for the note the stand-in tool writes
// when it has been started, and takes it away for the next start.
std::string takeNote(const std::string &tool)
{
    const std::string note = tool + ".ran";
    for (int tries = 0; tries < 500; ++tries) {
        std::ifstream in(note, std::ios::binary);
        if (in) {
            std::stringstream text;
            text << in.rdbuf();
            in.close();
            DeleteFileA(note.c_str());
            return text.str();
        }
        Sleep(10);
    }
    return "no note";
}

void launch()
{
    // A space in the folder, and a program named like the path's first word:
    // a command line split at the space would start that one instead.
    const std::string fakeTool = folderOfThisProgram() + "\\fake_tool.exe";
    const std::string folder = folderOfThisProgram() + "\\Shared Tools dir";
    const std::string tool = folder + "\\MSINFO32.EXE";
    const std::string wrongTool = folderOfThisProgram() + "\\Shared.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(fakeTool.c_str(), tool.c_str(), FALSE);
    CopyFileA(fakeTool.c_str(), wrongTool.c_str(), FALSE);
    DeleteFileA((tool + ".ran").c_str());
    DeleteFileA((wrongTool + ".ran").c_str());
    const std::string startedNormally = '"' + tool + "\"\n" + std::to_string(SW_SHOWNORMAL);
    const sysinfo::Platform platform = sysinfo::systemPlatform();

    // From the folder value.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, pathKey.c_str());
    setText(folderKey, "MSINFO", folder);
    CHECK(sysinfo::StartSysInfo(platform));
    CHECK(takeNote(tool) == startedNormally);

    // From the path value, once per click.
    setText(pathKey, "PATH", tool);
    for (int click = 0; click < 2; ++click) {
        CHECK(sysinfo::StartSysInfo(platform));
        CHECK(takeNote(tool) == startedNormally);
    }

    // A path value naming no program, and a folder holding a directory of
    // the tool's name.
    setText(pathKey, "PATH", folder + "\\missing.exe");
    CHECK(!sysinfo::StartSysInfo(platform));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, pathKey.c_str());
    const std::string decoy = folderOfThisProgram() + "\\decoy";
    CreateDirectoryA(decoy.c_str(), nullptr);
    CreateDirectoryA((decoy + "\\MSINFO32.EXE").c_str(), nullptr);
    setText(folderKey, "MSINFO", decoy);
    CHECK(!sysinfo::StartSysInfo(platform));

    CHECK(GetFileAttributesA((wrongTool + ".ran").c_str()) == INVALID_FILE_ATTRIBUTES);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, folderKey.c_str());
}

std::wstring versionText(const std::vector<char> &info, const wchar_t *name)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    void *text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &text, &length))
        return L"missing";
    return static_cast<const wchar_t *>(text);
}

// This program carries the program's resources, to read them back as Windows
// does.
void resources()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<char> info(GetFileVersionInfoSizeW(self, nullptr));
    CHECK(GetFileVersionInfoW(self, 0, info.size(), info.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void **>(&fixed), &length));
    CHECK(fixed && fixed->dwFileVersionMS == MAKELONG(0, 1) && fixed->dwFileVersionLS == 0);
    CHECK(versionText(info, L"FileVersion") == L"1.00");
    CHECK(versionText(info, L"ProductName") == L"Вельтор");

    // One icon with its three images.
    const HRSRC icon = FindResourceW(nullptr, L"IDI_ICON1", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    CHECK(icon);
    if (icon) {
        const auto *group = static_cast<const WORD *>(LockResource(LoadResource(nullptr, icon)));
        CHECK(group[2] == 3); // idCount, after idReserved and idType
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::map<std::string, void (*)()> cases{
        {"registry", registry}, {"files", files}, {"launch", launch}, {"resources", resources}};
    if (argc != 2 || !cases.count(argv[1])) {
        std::printf("usage: tst_win32 registry|files|launch|resources\n");
        return 2;
    }
    cases.at(argv[1])();
    std::printf("%s: %s\n", argv[1], failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
