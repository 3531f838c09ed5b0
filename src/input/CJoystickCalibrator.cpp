#include "input/CJoystickCalibrator.h"

void CJoystickCalibrator::Start()
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
        m_before[i] = m_calibration[i];
    m_measured = false;
}

void CJoystickCalibrator::MeasureCentre()
{
    if (!m_joystick.present)
        return;
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        const int raw = m_joystick.RawValue(i);
        m_calibration[i] = SJoystickAxisCalibration{raw, raw, raw};
    }
    m_measured = true;
}

void CJoystickCalibrator::MeasureEnds()
{
    if (!m_joystick.present)
        return;
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        SJoystickAxisCalibration& c = m_calibration[i];
        const int raw = m_joystick.RawValue(i);
        if (raw > c.high + kEndMargin)
            c.high = raw - kEndMargin;
        else if (raw < c.low - kEndMargin)
            c.low = raw + kEndMargin;
    }
}

void CJoystickCalibrator::Cancel()
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
        m_calibration[i] = m_before[i];
}

void CJoystickCalibrator::Finish()
{
    for (int i = 0; i < CInputJoystick::kCalibratedCount; ++i)
    {
        const SJoystickAxisCalibration& c = m_calibration[i];
        const bool slider = i >= CInputJoystick::kAxisCount;
        const bool moved = slider ? c.high - c.low >= kShortestHalf
                                  : c.high - c.centre >= kShortestHalf && c.centre - c.low >= kShortestHalf;
        if (!moved)
            m_calibration[i] = m_before[i];
        else if (slider)
            m_calibration[i].centre = (c.low + c.high) / 2;
    }
}
