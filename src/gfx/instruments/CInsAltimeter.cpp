#include "gfx/instruments/CInsAltimeter.h"

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kTwoPi = 6.2831853f;
} // namespace

bool CInsAltimeter::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_unit = UnitLookup(block, "UNITS", UNIT_KIND_LENGTH);
    if (m_unit == UNIT_UNKNOWN)
        m_unit = UNIT_METER;
    m_variable = FindPanelVariable(block, "VARIABLE_ALTITUDE", panelVariables);
    return m_variable != nullptr;
}

void CInsAltimeter::Update()
{
    const float altitude = m_model->GetBody().GetPosition().y; // m, world
    m_variable->SetValue(altitude);
    m_display = ConvertToUnit(altitude, m_unit);
}

std::string CInsAltimeter::GetText() const
{
    return StringPrintf("%4.1f%s", m_display, UnitShortName(m_unit));
}

float CInsAltimeter::GetNeedleAngle() const
{
    return m_display / kUnitsPerTurn * kTwoPi;
}

void CInsAltimeter::BuildFace(CInstrumentFace& outFace) const
{
    outFace.dial = true;
    outFace.ScaleMarks(0.0f, kTwoPi * 0.9f, 10, 5.0f, 16);
    outFace.Title(GetDescription());
    outFace.Needle(GetNeedleAngle(), 20);
    outFace.Value(GetText());
}
