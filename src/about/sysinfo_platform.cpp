#include "about/sysinfo.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace sysinfo {

namespace {

#ifdef _WIN32

class WindowsRegistry : public Registry
{
public:
    long openKey(RootKey root, const std::string &keyName, std::uint32_t options,
                 std::uint32_t access, KeyHandle &key) override
    {
        // Predefined roots are 32-bit values, sign-extended to a handle as the
        // HKEY_* macros do.
        const auto rootHandle =
            reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(rootHandle, keyName.c_str(), options, access, &opened);
        key = reinterpret_cast<KeyHandle>(opened);
        return status;
    }

    long queryValue(KeyHandle key, const std::string &valueName, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        DWORD valueType = 0;
        DWORD valueSize = size;
        const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(),
                                             nullptr, &valueType, data, &valueSize);
        type = valueType;
        size = valueSize;
        return status;
    }

    void closeKey(KeyHandle key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

class WindowsFileQuery : public FileQuery
{
public:
    bool isOrdinaryFile(const std::string &path) override
    {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               !(attributes &
                 (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }
};

class WindowsLauncher : public Launcher
{
public:
    bool start(const std::string &program) override
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        // The path is the program itself, so spaces in it never split it; the
        // quoted copy is only what the tool sees as its command line.
        std::string commandLine = '"' + program + '"';
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

using SystemRegistry = WindowsRegistry;
using SystemFileQuery = WindowsFileQuery;
using SystemLauncher = WindowsLauncher;

#else

// No registry here: every key is missing, so the tool is never found.
class AbsentRegistry : public Registry
{
public:
    long openKey(RootKey, const std::string &, std::uint32_t, std::uint32_t,
                 KeyHandle &key) override
    {
        key = 0;
        return ErrorFileNotFound;
    }
    long queryValue(KeyHandle, const std::string &, std::uint32_t &, unsigned char *,
                    std::uint32_t &) override
    {
        return ErrorFileNotFound;
    }
    void closeKey(KeyHandle) override {}
};

class AbsentFileQuery : public FileQuery
{
public:
    bool isOrdinaryFile(const std::string &) override { return false; }
};

class AbsentLauncher : public Launcher
{
public:
    bool start(const std::string &) override { return false; }
};

using SystemRegistry = AbsentRegistry;
using SystemFileQuery = AbsentFileQuery;
using SystemLauncher = AbsentLauncher;

#endif

} // namespace

Platform systemPlatform()
{
    static SystemRegistry registry;
    static SystemFileQuery files;
    static SystemLauncher launcher;
    return {registry, files, launcher};
}

} // namespace sysinfo
