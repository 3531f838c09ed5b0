#include "input/CJoystickCalibrationSet.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "input/InputIds.h"

namespace
{
// Quotes and line breaks cannot be stored in a token file's string.
std::string Storable(const std::string& text, size_t size)
{
    std::string clean;
    for (char c : text)
        if (c != '"' && c != '\r' && c != '\n')
            clean += c;
    return clean.substr(0, size);
}

// The axes of one block; what = how a message names the block.
void ReadAxes(CTokenFile& block, SJoystickAxisCalibration* axes, const std::string& what)
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        const SJoystickAxisCalibration standard = CInputJoystick::DefaultCalibration(i);
        CVector3 v;
        if (!block.GetVector3(AxisToken(AXIS_JOYSTICK_X + i), v,
                              CVector3(static_cast<float>(standard.low), static_cast<float>(standard.centre),
                                       static_cast<float>(standard.high))))
            continue;
        const SJoystickAxisCalibration read{static_cast<int>(v.x), static_cast<int>(v.y), static_cast<int>(v.z)};
        // A slider has no middle; a stick needs one strictly between its ends.
        const bool slider = i >= CInputJoystick::kAxisCount;
        if (read.low >= read.high || (!slider && (read.centre <= read.low || read.centre >= read.high)))
        {
            DiagPrint("%s %s: %i %i %i is no travel (low < centre < high); the axis is read uncalibrated\n",
                      what.c_str(), AxisToken(AXIS_JOYSTICK_X + i), read.low, read.centre, read.high);
            continue;
        }
        axes[i] = read;
    }
}

void WriteAxes(CFile& file, const SJoystickAxisCalibration* axes, const char* indent)
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
        file.WriteFormat("%s.%s  %i %i %i\r\n", indent, AxisToken(AXIS_JOYSTICK_X + i), axes[i].low, axes[i].centre,
                         axes[i].high);
}
} // namespace

void CJoystickCalibrationSet::Clear()
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
        m_shared[i] = CInputJoystick::DefaultCalibration(i);
    m_devices.clear();
}

const CJoystickCalibrationSet::SDevice* CJoystickCalibrationSet::Match(const std::string& guid,
                                                                       const std::string& name) const
{
    if (guid.empty() && name.empty())
        return nullptr;
    auto find = [this](auto same) -> const SDevice* {
        auto it = std::find_if(m_devices.begin(), m_devices.end(), [&](const auto& d) { return same(*d); });
        return it != m_devices.end() ? it->get() : nullptr;
    };
    if (const SDevice* d = find([&](const SDevice& e) { return e.guid == guid && e.name == name; }))
        return d;
    if (const SDevice* d = find([&](const SDevice& e) { return !guid.empty() && e.guid == guid; }))
        return d;
    return find([&](const SDevice& e) { return !name.empty() && e.name == name; });
}

const SJoystickAxisCalibration* CJoystickCalibrationSet::Find(const std::string& guid, const std::string& name) const
{
    const SDevice* device = Match(Storable(guid, kMaxGuid), Storable(name, kMaxName));
    return device != nullptr ? device->axes : m_shared;
}

bool CJoystickCalibrationSet::HasOwn(const std::string& guid, const std::string& name) const
{
    return Match(Storable(guid, kMaxGuid), Storable(name, kMaxName)) != nullptr;
}

SJoystickAxisCalibration* CJoystickCalibrationSet::ForDevice(const std::string& guid, const std::string& name)
{
    const std::string key = Storable(guid, kMaxGuid), label = Storable(name, kMaxName);
    if (key.empty() && label.empty())
        return m_shared;
    for (const auto& d : m_devices)
        if (d->guid == key && d->name == label)
            return d->axes;
    auto device = std::make_unique<SDevice>();
    device->guid = key;
    device->name = label;
    std::copy_n(Find(key, label), CInputJoystick::kCalibratedCount, device->axes);
    m_devices.push_back(std::move(device));
    return m_devices.back()->axes;
}

void CJoystickCalibrationSet::Read(CTokenFile& block, const std::string& fileName)
{
    Clear();
    ReadAxes(block, m_shared, fileName + ": JOYSTICK_CALIBRATION");
    for (CTokenFile* device; (device = block.OpenBlock("DEVICE")) != nullptr;)
    {
        auto entry = std::make_unique<SDevice>();
        device->GetString("GUID", entry->guid, "", kMaxGuid + 1);
        device->GetString("NAME", entry->name, "", kMaxName + 1);
        if (entry->guid.empty() && entry->name.empty())
        {
            DiagPrint("%s: JOYSTICK_CALIBRATION DEVICE without GUID and NAME is ignored\n", fileName.c_str());
            continue;
        }
        if (static_cast<int>(m_devices.size()) >= kMaxDevices)
        {
            DiagPrint("%s: JOYSTICK_CALIBRATION: more than %d DEVICE blocks; the rest are ignored\n", fileName.c_str(),
                      kMaxDevices);
            break;
        }
        for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
            entry->axes[i] = CInputJoystick::DefaultCalibration(i);
        ReadAxes(*device, entry->axes,
                 fileName + ": JOYSTICK_CALIBRATION DEVICE \"" + (entry->name.empty() ? entry->guid : entry->name) + "\"");
        m_devices.push_back(std::move(entry));
    }
}

void CJoystickCalibrationSet::Write(CFile& file) const
{
    file.WriteLine(".JOYSTICK_CALIBRATION");
    file.WriteLine("{");
    WriteAxes(file, m_shared, "  ");
    for (const auto& d : m_devices)
    {
        file.WriteLine("  .DEVICE");
        file.WriteLine("  {");
        file.WriteFormat("    .GUID  \"%s\"\r\n", d->guid.c_str());
        file.WriteFormat("    .NAME  \"%s\"\r\n", d->name.c_str());
        WriteAxes(file, d->axes, "    ");
        file.WriteLine("  }");
    }
    file.WriteLine("}");
}
