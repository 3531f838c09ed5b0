#pragma once
// The first game controller as 12 float axes (X, Y, Z, RX, RY, RZ, SL0, SL1, POV1-4), 32 button
// bytes and 32 hat-direction bytes. The platform layer stores raw values in the units the
// conversion expects (axes -1000..1000, sliders 0..1000, hats in hundredths of a degree or
// kHatCentred); Read converts them: Y is negated so that pushing forward is positive, sliders
// run from 1 to -1, a hat becomes a fraction of a turn (0 north, clockwise; -1 centred) and
// lights one of eight direction buttons.

#include <cstdint>

// The measured travel of one analogue axis, in the raw units of the platform layer: the value
// at one end, at rest and at the other end. Sticks map each half separately (rest reads 0),
// sliders sweep linearly from low to high.
struct SJoystickAxisCalibration
{
    int low = -1000;
    int centre = 0;
    int high = 1000;
};

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

    static constexpr int kCalibratedCount = kAxisCount + kSliderCount; // X .. RZ, SL0, SL1

    // Everything back to rest (device removed).
    void Reset();
    // Converts the raw state through the calibration (null: the raw ranges as they are);
    // absent: everything reads 0.
    void Read(const SJoystickAxisCalibration* calibration = nullptr);

    // Raw value of analogue axis 0..7 (the six axes, then the two sliders).
    int RawValue(int index) const;
    // The calibration of analogue axis 0..7 before any measurement.
    static SJoystickAxisCalibration DefaultCalibration(int index);
    // A raw value through a calibration, back in the default raw range of that axis.
    static int Calibrate(int raw, const SJoystickAxisCalibration& calibration, bool slider);

    // X Y Z RX RY RZ SL0 SL1 POV1 POV2 POV3 POV4
    float axis[12] = {};
    uint8_t hatDirection[kHatCount * 8] = {}; // hat p direction d at 8 * p + d
    uint8_t button[kButtonCount] = {};

private:
    int m_lastDirection[kHatCount] = {-1, -1, -1, -1};
};
