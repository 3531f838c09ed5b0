#include "input/CInputJoystick.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace
{
float Ratio(float numerator, float divisor)
{
    if (divisor == 0.0f)
        return numerator > 0.0f ? 1.0f : -1.0f;
    return numerator / divisor;
}
} // namespace

int CInputJoystick::RawValue(int index) const
{
    assert(index >= 0 && index < kCalibratedCount);
    return index < kAxisCount ? rawAxis[index] : rawSlider[index - kAxisCount];
}

SJoystickAxisCalibration CInputJoystick::DefaultCalibration(int index)
{
    if (index >= kAxisCount)
        return SJoystickAxisCalibration{0, 500, 1000};
    return SJoystickAxisCalibration{};
}

int CInputJoystick::Calibrate(int raw, const SJoystickAxisCalibration& c, bool slider)
{
    if (slider)
    {
        const float v = Ratio(static_cast<float>(raw - c.low), static_cast<float>(c.high - c.low));
        return static_cast<int>(std::lround(1000.0f * std::clamp(v, 0.0f, 1.0f)));
    }
    const float numerator = static_cast<float>(raw - c.centre);
    const float v = raw < c.centre ? Ratio(numerator, static_cast<float>(c.centre - c.low))
                                   : Ratio(numerator, static_cast<float>(c.high - c.centre));
    return static_cast<int>(std::lround(1000.0f * std::clamp(v, -1.0f, 1.0f)));
}

void CInputJoystick::Reset()
{
    present = false;
    for (int& value : rawAxis)
        value = 0;
    for (int& value : rawSlider)
        value = 0;
    for (uint32_t& value : rawHat)
        value = kHatCentred;
    for (uint8_t& value : rawButton)
        value = 0;
}

void CInputJoystick::Read(const SJoystickAxisCalibration* calibration)
{
    for (int i = 0; i < kHatCount; ++i)
        if (m_lastDirection[i] >= 0)
        {
            hatDirection[8 * i + m_lastDirection[i]] = 0;
            m_lastDirection[i] = -1;
        }
    if (!present)
    {
        for (float& value : axis)
            value = 0.0f;
        for (uint8_t& value : button)
            value = 0;
        return;
    }
    int value[kCalibratedCount];
    for (int i = 0; i < kCalibratedCount; ++i)
        value[i] = calibration != nullptr ? Calibrate(RawValue(i), calibration[i], i >= kAxisCount) : RawValue(i);
    axis[0] = static_cast<float>(value[0]) * 0.001f;
    axis[1] = static_cast<float>(value[1]) * -0.001f; // pushed forward is positive
    for (int i = 2; i < kAxisCount; ++i)
        axis[i] = static_cast<float>(value[i]) * 0.001f;
    for (int i = 0; i < kSliderCount; ++i)
        axis[kAxisCount + i] = 1.0f - 2.0f * static_cast<float>(value[kAxisCount + i]) * 0.001f;
    for (int i = 0; i < kHatCount; ++i)
    {
        float& value = axis[kAxisCount + kSliderCount + i];
        if (rawHat[i] == kHatCentred)
        {
            value = -1.0f;
            continue;
        }
        value = static_cast<float>(rawHat[i]) * (1.0f / 36000.0f);
        int direction = static_cast<int>(value * 8.0f);
        // A raw angle of a full turn or more would index past the eight directions.
        if (direction < 0 || direction > 7)
            direction = ((direction % 8) + 8) % 8;
        hatDirection[8 * i + direction] = 0x80;
        m_lastDirection[i] = direction;
    }
    for (int i = 0; i < kButtonCount; ++i)
        button[i] = rawButton[i] & 0x80;
}
