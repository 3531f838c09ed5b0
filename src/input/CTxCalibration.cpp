#include "input/CTxCalibration.h"

#include <algorithm>
#include <cassert>
#include <filesystem>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"

namespace
{
float SafeRatio(float numerator, float divisor)
{
    if (divisor == 0.0f)
        return numerator > 0.0f ? 1.0f : -1.0f;
    return numerator / divisor;
}
} // namespace

STxChannelCalibration& CTxCalibration::Channel(int channel)
{
    assert(channel >= 1 && channel <= kChannelCount);
    return m_channels[channel - 1];
}

const STxChannelCalibration& CTxCalibration::Channel(int channel) const
{
    assert(channel >= 1 && channel <= kChannelCount);
    return m_channels[channel - 1];
}

void CTxCalibration::ResetCounts()
{
    const STxChannelCalibration defaults;
    for (STxChannelCalibration& channel : m_channels)
    {
        channel.minCount = defaults.minCount;
        channel.centreCount = defaults.centreCount;
        channel.maxCount = defaults.maxCount;
    }
}

bool CTxCalibration::Load(const std::string& path)
{
    ResetCounts();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    CTokenFile file;
    if (!file.Load(path))
    {
        DiagPrint("%s: cannot be read; the transmitter keeps the default calibration\n", path.c_str());
        return false;
    }
    for (int channel = 1; channel <= kChannelCount; ++channel)
    {
        const std::string name = StringPrintf("CH%i", channel);
        CTokenFile* block = file.OpenBlock(name.c_str());
        if (block == nullptr)
            continue;
        STxChannelCalibration& calibration = Channel(channel);
        block->GetInt("MIN_COUNT", calibration.minCount, 0);
        block->GetInt("CENTER_COUNT", calibration.centreCount, 0);
        block->GetInt("MAX_COUNT", calibration.maxCount, 0);
        block->GetBool("REVERSE", calibration.reverse, false);
        block->GetBool("AUTOCENTRE", calibration.autoCentre, false);
    }
    return true;
}

std::string CTxCalibration::FormatText() const
{
    std::string text;
    for (int channel = 1; channel <= kChannelCount; ++channel)
    {
        const STxChannelCalibration& calibration = Channel(channel);
        text += StringPrintf(".CH%i\r\n{\r\n", channel);
        text += StringPrintf("  .%s  %i\r\n", "MIN_COUNT", calibration.minCount);
        text += StringPrintf("  .%s  %i\r\n", "MAX_COUNT", calibration.maxCount);
        text += StringPrintf("  .%s  %i\r\n", "CENTER_COUNT", calibration.centreCount);
        text += StringPrintf("  .%s  %i\r\n", "REVERSE", calibration.reverse ? 1 : 0);
        text += StringPrintf("  .%s  %i\r\n", "AUTOCENTRE", calibration.autoCentre ? 1 : 0);
        text += "}\r\n";
    }
    return text;
}

bool CTxCalibration::Save(const std::string& path) const
{
    return ReplaceFile(path, FormatText()); // which reports a failure, naming the file
}

float CTxCalibration::CountToValue(int count, const STxChannelCalibration& calibration)
{
    // Floating point on the integer differences: counts of 9-bit boxes and wild calibrations
    // stay exact.
    float value;
    if (calibration.autoCentre)
    {
        const float numerator = static_cast<float>(count - calibration.centreCount);
        if (count < calibration.centreCount)
            value = SafeRatio(numerator, static_cast<float>(calibration.centreCount - calibration.minCount));
        else
            value = SafeRatio(numerator, static_cast<float>(calibration.maxCount - calibration.centreCount));
    }
    else
    {
        const float numerator = 2.0f * static_cast<float>(count - calibration.minCount);
        const float divisor = static_cast<float>(calibration.maxCount - calibration.minCount);
        value = divisor == 0.0f ? SafeRatio(numerator, divisor) : numerator / divisor - 1.0f;
    }
    if (calibration.reverse)
        value = -value;
    return std::clamp(value, -1.0f, 1.0f);
}
