#pragma once
// Measures a joystick's axes alongside the transmitter on the calibration screen (a USB
// transmitter is a joystick): with the sticks at rest every analogue axis's low, centre and high
// take its raw value; while the sticks go to their ends, an end passed by more than the margin
// moves to the margin inside it, so full deflection still reaches full value. Cancel puts back
// what was there before Start.

#include "input/CInputJoystick.h"

class CJoystickCalibrator
{
public:
    static constexpr int kEndMargin = 20;    // raw units: 1 % of a stick's travel
    static constexpr int kShortestHalf = 300; // raw units a stick's half or a slider must span

    // calibration: CInputJoystick::kCalibratedCount entries, the configuration's; not owned.
    CJoystickCalibrator(const CInputJoystick& joystick, SJoystickAxisCalibration* calibration)
        : m_joystick(joystick), m_calibration(calibration)
    {
    }

    void Start();
    void MeasureCentre();
    void MeasureEnds();
    // Ends the measurement: an axis that was not moved through most of its travel keeps its
    // previous calibration (a measured travel of nothing would read as full deflection).
    void Finish();
    void Cancel();
    // Whether any axis was measured since Start.
    bool Measured() const { return m_measured; }

private:
    const CInputJoystick& m_joystick;
    SJoystickAxisCalibration* m_calibration;
    SJoystickAxisCalibration m_before[CInputJoystick::kCalibratedCount];
    bool m_measured = false;
};
