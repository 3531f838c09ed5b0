#include "input/SerialPortNames.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace
{
const char* const kGroups[] = {"ttyUSB", "ttyACM", "ttyS"};

// The unit number of name when it is prefix followed by digits only, else -1.
long UnitNumber(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}
} // namespace

std::vector<std::string> ListSerialDevices(const std::string& devDir)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(devDir, error))
        names.push_back(entry.path().filename().string());

    std::vector<std::string> devices;
    for (const char* prefix : kGroups)
    {
        std::vector<std::pair<long, std::string>> group;
        for (const std::string& name : names)
        {
            const long unit = UnitNumber(name, prefix);
            if (unit >= 0)
                group.emplace_back(unit, name);
        }
        std::sort(group.begin(), group.end());
        for (const auto& [unit, name] : group)
            devices.push_back((std::filesystem::path(devDir) / name).string());
    }
    return devices;
}

std::string SerialDeviceForPort(int port, const std::vector<std::string>& devices)
{
    if (port < 1 || static_cast<size_t>(port) > devices.size())
        return std::string();
    return devices[static_cast<size_t>(port) - 1];
}
