#include "about/sysinfo.h"

#include <array>
#include <stdexcept>

namespace sysinfo {

namespace {

// Little-endian, as the registry stores it.
std::uint32_t dwordFrom(const unsigned char *data)
{
    return data[0] | data[1] << 8 | std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
}

} // namespace

bool GetKeyValue(Registry &registry, RootKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal)
{
    KeyHandle key = 0;
    if (registry.openKey(KeyRoot, KeyName, 0, KeyRead, key) != ErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    std::array<unsigned char, ValueBufferSize> data{};
    std::uint32_t size = data.size();
    std::uint32_t type = 0;
    const long status = registry.queryValue(key, SubKeyRef, type, data.data(), size);
    registry.closeKey(key);
    if (status != ErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    // A value that is there but holds nothing is a damaged registration: the
    // search for the tool ends there rather than going on to the next value.
    if (size == 0)
        throw std::runtime_error("the registry value " + SubKeyRef + " is empty");

    // Text normally ends in a zero, which is not part of it; keep everything
    // when it does not.
    const std::size_t length = data[size - 1] == 0 ? size - 1 : size;
    if (type == RegSz)
        KeyVal.assign(reinterpret_cast<const char *>(data.data()), length);
    else if (type == RegDword)
        KeyVal = std::to_string(dwordFrom(data.data()));
    return true;
}

bool StartSysInfo(const Platform &platform)
{
    const std::string program = "\\MSINFO32.EXE";
    std::string path;
    try {
        if (!GetKeyValue(platform.registry, HKeyLocalMachine,
                         "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
            // The second value names the folder that holds the tool.
            if (!GetKeyValue(platform.registry, HKeyLocalMachine,
                             "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path))
                return false;
            if (!platform.files.isOrdinaryFile(path + program))
                return false;
            path += program;
        }
    } catch (const std::runtime_error &) { // an empty value
        return false;
    }
    return platform.launcher.start(path);
}

} // namespace sysinfo
