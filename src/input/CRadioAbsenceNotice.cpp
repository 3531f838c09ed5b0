#include "input/CRadioAbsenceNotice.h"

#include "input/CInputMap.h"
#include "input/InputIds.h"

void CRadioAbsenceNotice::Reset()
{
    m_missingSeconds = 0.0f;
    m_said = false;
}

bool CRadioAbsenceNotice::Update(float frameTime, bool mapReadsRadio, bool radioDetected)
{
    if (!mapReadsRadio || radioDetected)
    {
        Reset();
        return false;
    }
    m_missingSeconds += frameTime;
    if (m_said || m_missingSeconds < kGraceSeconds)
        return false;
    m_said = true;
    return true;
}

bool CRadioAbsenceNotice::MapReadsRadio(const CInputMap& map)
{
    for (int i = 0; i < map.GetLinkCount(); ++i)
    {
        const int axis = map.GetLink(i).axis;
        if (axis >= AXIS_RADIOCONTROL_CH1 && axis <= AXIS_RADIOCONTROL_CH9)
            return true;
    }
    return false;
}
