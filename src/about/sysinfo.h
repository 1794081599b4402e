#pragma once

// Finds the operating system's system-information tool through the registry
// and starts it. Plain C++ without Qt, so that the Windows side can be built
// and tested with a cross compiler.

#include <cstddef>
#include <cstdint>
#include <string>

namespace sysinfo {

// Registry root handles, access rights, value types and status codes, with the
// values of the Windows API.
using RootKey = std::uint32_t;
using KeyHandle = std::uintptr_t;
constexpr RootKey HKeyLocalMachine = 0x80000002;
constexpr std::uint32_t KeyRead = 0x20019;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegDword = 4;
constexpr long ErrorSuccess = 0;
constexpr long ErrorFileNotFound = 2;
constexpr long ErrorMoreData = 234;

// Values longer than this, in bytes, count as not found.
constexpr std::size_t ValueBufferSize = 1024;

// The registry, in the shape of RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
class Registry
{
public:
    virtual ~Registry() = default;
    virtual long openKey(RootKey root, const std::string &keyName, std::uint32_t options,
                         std::uint32_t access, KeyHandle &key) = 0;
    // `size` holds the buffer's size on entry and the bytes stored on return.
    virtual long queryValue(KeyHandle key, const std::string &valueName, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &size) = 0;
    virtual void closeKey(KeyHandle key) = 0;
};

class FileQuery
{
public:
    virtual ~FileQuery() = default;
    // True when `path` names an ordinary file: not hidden, not a system file,
    // not a directory.
    virtual bool isOrdinaryFile(const std::string &path) = 0;
};

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts `program` in a normal, activated window without waiting for it;
    // false when it cannot be started.
    virtual bool start(const std::string &program) = 0;
};

struct Platform
{
    Registry &registry;
    FileQuery &files;
    Launcher &launcher;
};

// The real registry, file system and process start on Windows; elsewhere
// stand-ins that find nothing and start nothing.
Platform systemPlatform();

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into
// `KeyVal`. Text values are read without their terminating zero and 32-bit
// numbers as decimal text; a value of another type is found but leaves
// `KeyVal` as it was. Returns false, with `KeyVal` emptied, when the key or
// the value is missing, unreadable or longer than ValueBufferSize; throws
// std::runtime_error for a value of zero bytes.
bool GetKeyValue(Registry &registry, RootKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal);

// Starts the system-information tool from the path the registry gives, or
// from the folder it gives when that holds MSINFO32.EXE. Returns false when
// the tool is unavailable, also at once when the first value is empty; the
// caller then tells the user.
bool StartSysInfo(const Platform &platform);

} // namespace sysinfo
