#include "input/CInputJoystick.h"

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

void CInputJoystick::Read()
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
    axis[0] = static_cast<float>(rawAxis[0]) * 0.001f;
    axis[1] = static_cast<float>(rawAxis[1]) * -0.001f; // pushed forward is positive
    for (int i = 2; i < kAxisCount; ++i)
        axis[i] = static_cast<float>(rawAxis[i]) * 0.001f;
    for (int i = 0; i < kSliderCount; ++i)
        axis[kAxisCount + i] = 1.0f - 2.0f * static_cast<float>(rawSlider[i]) * 0.001f;
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
