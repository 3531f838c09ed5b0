#include "gfx/instruments/CInsClimbRate.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kHalfSweep = 170.0f * kPi / 180.0f; // rad, either side of the rest position
constexpr float kRest = -kPi / 2.0f;                // nine o'clock
} // namespace

bool CInsClimbRate::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_unit = UnitLookup(block, "UNITS", UNIT_KIND_SPEED);
    if (m_unit == UNIT_UNKNOWN)
        m_unit = UNIT_KILOMETER_PER_HOUR;
    m_variable = FindPanelVariable(block, "VARIABLE_VERTICAL_SPEED", panelVariables);
    return m_variable != nullptr;
}

void CInsClimbRate::Update()
{
    // The air moves down past a climbing model: its Y component is negative.
    m_climb = -m_model->GetAirVelocity().y;
    m_variable->SetValue(m_climb);
    m_display = ConvertToUnit(m_climb, m_unit);
}

std::string CInsClimbRate::GetText() const
{
    return StringPrintf("%+04.1f%s", TidyZero(m_display), UnitShortName(m_unit));
}

float CInsClimbRate::GetNeedleAngle() const
{
    const float fraction = std::clamp(m_climb / kFullScale, -1.0f, 1.0f);
    return kRest + fraction * kHalfSweep;
}

void CInsClimbRate::BuildFace(CInstrumentFace& outFace) const
{
    outFace.dial = true;
    // Marks every 2.5 m/s, the zero mark longer.
    outFace.ScaleMarks(kRest - kHalfSweep, kRest + kHalfSweep, 9, 3.0f, 14);
    outFace.ScaleMarks(kRest, kRest, 1, 7.0f, 20);
    outFace.Text(CInstrumentFace::kCentreX - 24.0f, CInstrumentFace::kCentreY - 9.0f, "UP", 14, TA_LEFT | TA_MIDDLE, true);
    outFace.Text(CInstrumentFace::kCentreX - 24.0f, CInstrumentFace::kCentreY + 9.0f, "DN", 14, TA_LEFT | TA_MIDDLE, true);
    outFace.Title(GetDescription());
    outFace.Needle(GetNeedleAngle(), 20);
    outFace.Value(GetText());
}
