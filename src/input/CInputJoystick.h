#pragma once
// The first game controller as 12 float axes (X, Y, Z, RX, RY, RZ, SL0, SL1, POV1-4), 32 button
// bytes and 32 hat-direction bytes. The platform layer stores raw values in the units the
// conversion expects (axes -1000..1000, sliders 0..1000, hats in hundredths of a degree or
// kHatCentred); Read converts them: Y is negated so that pushing forward is positive, sliders
// run from 1 to -1, a hat becomes a fraction of a turn (0 north, clockwise; -1 centred) and
// lights one of eight direction buttons.

#include <cstdint>

class CInputJoystick
{
public:
    static constexpr uint32_t kHatCentred = 0xFFFFFFFFu;
    static constexpr int kAxisCount = 6, kSliderCount = 2, kHatCount = 4, kButtonCount = 32;

    // Raw state, written by the platform layer.
    bool present = false;
    int rawAxis[kAxisCount] = {};     // X Y Z RX RY RZ, -1000..1000
    int rawSlider[kSliderCount] = {}; // 0..1000
    uint32_t rawHat[kHatCount] = {kHatCentred, kHatCentred, kHatCentred, kHatCentred};
    uint8_t rawButton[kButtonCount] = {}; // 0x80 = down

    // Everything back to rest (device removed).
    void Reset();
    // Converts the raw state; absent: everything reads 0.
    void Read();

    // X Y Z RX RY RZ SL0 SL1 POV1 POV2 POV3 POV4
    float axis[12] = {};
    uint8_t hatDirection[kHatCount * 8] = {}; // hat p direction d at 8 * p + d
    uint8_t button[kButtonCount] = {};

private:
    int m_lastDirection[kHatCount] = {-1, -1, -1, -1};
};
