#include "input/CJoystickCalibrator.h"

#include <algorithm>
#include <utility>

#include "input/CJoystickCalibrationSet.h"

namespace
{
bool Same(const SJoystickAxisCalibration& a, const SJoystickAxisCalibration& b)
{
    return a.low == b.low && a.centre == b.centre && a.high == b.high;
}
} // namespace

CJoystickCalibrator::CJoystickCalibrator(const CInputJoystick& joystick, CJoystickCalibrationSet& set,
                                         std::string guid, std::string name)
    : m_joystick(joystick), m_set(set), m_guid(std::move(guid)), m_name(std::move(name))
{
    Start();
}

void CJoystickCalibrator::Start()
{
    std::copy_n(m_set.Find(m_guid, m_name), CInputJoystick::kCalibratedCount, m_before);
    std::copy_n(m_before, CInputJoystick::kCalibratedCount, m_calibration);
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
    std::copy_n(m_before, CInputJoystick::kCalibratedCount, m_calibration);
}

bool CJoystickCalibrator::Finish()
{
    bool changed = false;
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
        changed = changed || !Same(m_calibration[i], m_before[i]);
    }
    if (!changed)
        return false;
    std::copy_n(m_calibration, CInputJoystick::kCalibratedCount, m_set.ForDevice(m_guid, m_name));
    std::copy_n(m_calibration, CInputJoystick::kCalibratedCount, m_before);
    return true;
}
