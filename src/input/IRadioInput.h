#pragma once
// The seam for the radio transmitter's serial interface: the input system updates it once per
// frame after the joystick and reads its nine channels as AXIS_RADIOCONTROL_CH1 .. CH9. Without
// one attached those axes read 0.

#include <string>

class IRadioInput
{
public:
    virtual ~IRadioInput() = default;
    virtual void Update(float frameTime) = 0;
    // Channel 0..8; the value the calibration gives (stable address, read every frame).
    virtual const float* GetChannelValue(int channel) const = 0;
    // Shown beside the input data dump.
    virtual std::string GetStatusText() const = 0;
};
