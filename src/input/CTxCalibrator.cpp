#include "input/CTxCalibrator.h"

#include <algorithm>
#include <utility>

#include "input/CJoystickCalibrator.h"

void CTxCalibrator::SetJoystick(CJoystickCalibrator* joystick, bool present)
{
    m_joystick = joystick;
    m_joystickPresent = joystick != nullptr && present;
}

void CTxCalibrator::SetJoystickStore(std::function<bool()> store, std::string fileName)
{
    m_joystickStore = std::move(store);
    m_joystickFile = std::move(fileName);
}

void CTxCalibrator::Start()
{
    m_radio.Calibration().ResetCounts();
    m_step = STEP_DETECT;
    m_interfaceSeen = false;
    m_radioSeen = false;
    m_valid = false;
    m_unsavedFile.clear();
    m_changed = false;
    if (m_joystick)
        m_joystick->Start();
}

void CTxCalibrator::Update()
{
    CTxCalibration& calibration = m_radio.Calibration();
    const int channels = std::min(m_radio.GetNumChannels(), CRadioInterface::kChannelCount);
    m_interfaceSeen = m_interfaceSeen || m_radio.IsInterfaceDetected();
    m_radioSeen = m_radioSeen || m_radio.IsRadioDetected();
    switch (m_step)
    {
    case STEP_DETECT:
        if ((m_interfaceSeen && m_radioSeen) || m_joystickPresent)
            m_step = STEP_CENTRE;
        break;
    case STEP_CENTRE:
        for (int channel = 1; channel <= channels; ++channel)
        {
            STxChannelCalibration& c = calibration.Channel(channel);
            c.minCount = c.centreCount = c.maxCount = m_radio.GetChannelCount(channel);
        }
        if (m_joystick)
            m_joystick->MeasureCentre();
        break;
    case STEP_MOVE:
        for (int channel = 1; channel <= channels; ++channel)
        {
            // Every frame since the last update: at a low frame rate a quick flick to the end
            // and back falls between two updates.
            STxChannelCalibration& c = calibration.Channel(channel);
            int low = 0, high = 0;
            m_radio.GetChannelCountRange(channel, low, high);
            if (high > c.maxCount + kEndMargin)
                c.maxCount = high - kEndMargin;
            if (low < c.minCount - kEndMargin)
                c.minCount = low + kEndMargin;
        }
        if (m_joystick)
            m_joystick->MeasureEnds();
        break;
    default:
        break;
    }
}

bool CTxCalibrator::Next()
{
    if (m_step == STEP_CENTRE)
        m_step = STEP_MOVE;
    else if (m_step == STEP_MOVE)
    {
        m_valid = true; // every measurement is accepted
        m_step = STEP_FINISHED;
        Save();
    }
    else
        return false;
    return true;
}

void CTxCalibrator::Abort()
{
    m_valid = false;
    if (m_joystick)
        m_joystick->Cancel();
}

bool CTxCalibrator::Retry()
{
    if (m_step != STEP_FINISHED || m_valid)
        return false;
    Start();
    return true;
}

void CTxCalibrator::Save()
{
    // Saved here, not when the screen is left: the finished text is what the pilot reads as the
    // outcome. Calibrating only a joystick must not overwrite the transmitter's calibration with
    // the defaults Start put in.
    if (m_radioSeen && !m_radio.SaveCalibration())
        m_unsavedFile = m_radio.CalibrationPath();
    const bool joystickChanged = m_joystick && m_joystick->Finish();
    m_changed = m_radioSeen || joystickChanged;
    if (joystickChanged && m_joystickStore && !m_joystickStore() && m_unsavedFile.empty())
        m_unsavedFile = m_joystickFile;
}

void CTxCalibrator::Leave()
{
    if (!(m_valid && m_radioSeen))
        m_radio.LoadCalibration();
}

const char* CTxCalibrator::StepStringId() const
{
    switch (m_step)
    {
    case STEP_DETECT:
        return m_interfaceSeen || m_radio.IsInterfaceDetected() ? "IDS_RXCAL_RADIO_NOT_DETECTED"
                                                                : "IDS_RXCAL_INTERFACE_NOT_DETECTED";
    case STEP_CENTRE: return "IDS_RXCAL_CENTER_STICKS";
    case STEP_MOVE: return "IDS_RXCAL_MOVE_STICKS";
    default:
        if (!m_valid)
            return "IDS_RXCAL_CALIBRATION_FINISHED_ERROR";
        if (!m_unsavedFile.empty())
            return "IDS_RXCAL_CALIBRATION_NOT_SAVED";
        return m_changed ? "IDS_RXCAL_CALIBRATION_FINISHED_OK" : "IDS_RXCAL_CALIBRATION_UNCHANGED";
    }
}
