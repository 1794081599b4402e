// The launcher's Windows side against the real registry and file system, and
// the program's resources, run under Wine (the start of the tool is tested
// with the whole program). The case to run is named on the command line.

#include "about/sysinfo.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

int failures = 0;

#define CHECK(condition)                                                                           \
    ((condition) ? void()                                                                          \
                 : (std::printf("FAIL line %d: %s\n", __LINE__, #condition), ++failures, void()))

const std::string testKey = "SOFTWARE\\Veltor tests";

// Stores `size` bytes of `text`, which need not include its terminating zero.
void setText(const std::string &key, const std::string &name, const std::string &text, DWORD size)
{
    HKEY opened = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &opened, nullptr);
    RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   size);
    RegCloseKey(opened);
}

std::string folderOfThisProgram()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(0, path.rfind('\\'));
}

void registry()
{
    const auto lookUp = [](const std::string &name) {
        std::string keyVal;
        sysinfo::GetKeyValue(sysinfo::systemPlatform().registry, sysinfo::HKeyLocalMachine, testKey,
                             name, keyVal);
        return keyVal;
    };
    static constexpr char withZero[] = "C:\\Program Files\\Tools";
    setText(testKey, "with zero", withZero, sizeof withZero);
    // Wine adds a zero to text whose next byte in memory is a zero, so the
    // stored bytes are followed by one that is not.
    static constexpr char withoutZero[] = "C:\\Tools#";
    setText(testKey, "without zero", withoutZero, sizeof withoutZero - 2);
    CHECK(lookUp("with zero") == "C:\\Program Files\\Tools");
    CHECK(lookUp("without zero") == "C:\\Tools");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, testKey.c_str());
}

void files()
{
    const std::string folder = folderOfThisProgram() + "\\file query";
    const std::string plain = folder + "\\plain.exe";
    const std::string hidden = folder + "\\hidden.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\directory.exe").c_str(), nullptr);
    std::ofstream(plain) << "x";
    std::ofstream(hidden) << "x";
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

    sysinfo::FileQuery &query = sysinfo::systemPlatform().files;
    CHECK(query.isOrdinaryFile(plain));
    CHECK(!query.isOrdinaryFile(folder + "\\directory.exe"));
    CHECK(!query.isOrdinaryFile(folder + "\\missing.exe"));
    CHECK(!query.isOrdinaryFile(hidden));
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
        {"registry", registry}, {"files", files}, {"resources", resources}};
    const auto found = cases.find(argc == 2 ? argv[1] : "");
    if (found == cases.end())
        return 2;
    found->second();
    return failures ? 1 : 0;
}
