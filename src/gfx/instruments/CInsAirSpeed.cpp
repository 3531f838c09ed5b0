#include "gfx/instruments/CInsAirSpeed.h"

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kTwoPi = 6.2831853f;
} // namespace

bool CInsAirSpeed::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_unit = UnitLookup(block, "UNITS", UNIT_KIND_SPEED);
    if (m_unit == UNIT_UNKNOWN)
        m_unit = UNIT_KILOMETER_PER_HOUR;
    m_variable = FindPanelVariable(block, "VARIABLE_AIR_SPEED", panelVariables);
    return m_variable != nullptr;
}

void CInsAirSpeed::Update()
{
    const float airspeed = m_model->GetAirspeed(); // m/s
    m_variable->SetValue(airspeed);
    m_display = ConvertToUnit(airspeed, m_unit);
}

std::string CInsAirSpeed::GetText() const
{
    return StringPrintf("%04.1f%s", m_display, UnitShortName(m_unit));
}

float CInsAirSpeed::GetNeedleAngle() const
{
    return m_display / kUnitsPerTurn * kTwoPi;
}

void CInsAirSpeed::BuildFace(CInstrumentFace& outFace) const
{
    outFace.dial = true;
    outFace.ScaleMarks(0.0f, kTwoPi * 0.9f, 10, 5.0f, 16);
    outFace.ScaleMarks(kTwoPi * 0.05f, kTwoPi * 0.95f, 10, 2.5f, 12);
    outFace.Title(GetDescription());
    outFace.Needle(GetNeedleAngle(), 36);
    outFace.Value(GetText());
}
