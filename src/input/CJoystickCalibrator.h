#pragma once
// Measures a joystick's axes alongside the transmitter on the calibration screen (a USB
// transmitter is a joystick): with the sticks at rest every analogue axis's low, centre and high
// take its raw value; while the sticks go to their ends, an end passed by more than the margin
// moves to the margin inside it, so full deflection still reaches full value.
//
// The measurement is the calibrator's own until Finish: only a finished measurement that changes
// what the device reads becomes the device's entry in the set, so a cancelled screen (or one where
// only the transmitter was calibrated) leaves the stored configuration exactly as it was.

#include <string>

#include "input/CInputJoystick.h"

class CJoystickCalibrationSet;

class CJoystickCalibrator
{
public:
    static constexpr int kEndMargin = 20;    // raw units: 1 % of a stick's travel
    static constexpr int kShortestHalf = 300; // raw units a stick's half or a slider must span

    // set: the configuration's, not owned; guid and name: the device being measured.
    CJoystickCalibrator(const CInputJoystick& joystick, CJoystickCalibrationSet& set, std::string guid,
                        std::string name);

    // The measurement starts from what the device reads now.
    void Start();
    void MeasureCentre();
    void MeasureEnds();
    // Ends the measurement: an axis that was not moved through most of its travel keeps its
    // previous calibration (a measured travel of nothing would read as full deflection). True
    // when the set changed, so the configuration has something new to keep.
    bool Finish();
    // The set stays as it was.
    void Cancel();

    // CInputJoystick::kCalibratedCount entries: what is being measured, for the screen's table.
    const SJoystickAxisCalibration* Calibration() const { return m_calibration; }
    const std::string& Guid() const { return m_guid; }
    const std::string& Name() const { return m_name; }

private:
    const CInputJoystick& m_joystick;
    CJoystickCalibrationSet& m_set;
    std::string m_guid;
    std::string m_name;
    SJoystickAxisCalibration m_calibration[CInputJoystick::kCalibratedCount];
    SJoystickAxisCalibration m_before[CInputJoystick::kCalibratedCount];
};
