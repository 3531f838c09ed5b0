#include "gfx/instruments/CInsAngleOfSlide.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kDegPerRad = 57.295776f;
} // namespace

bool CInsAngleOfSlide::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_variable = FindPanelVariable(block, "VARIABLE_ANGLE_SLIDE", panelVariables);
    return m_variable != nullptr;
}

void CInsAngleOfSlide::Update()
{
    m_angle = m_model->GetAirAngle();
    m_variable->SetValue(m_angle);
}

std::string CInsAngleOfSlide::GetText() const
{
    return StringPrintf("% 3.1fo", TidyZero(m_angle * kDegPerRad));
}

float CInsAngleOfSlide::GetNeedleAngle() const
{
    return std::clamp(m_angle, -kPi / 2.0f, kPi / 2.0f);
}

void CInsAngleOfSlide::BuildFace(CInstrumentFace& outFace) const
{
    outFace.dial = true;
    // Marks every 15 degrees over +-90.
    outFace.ScaleMarks(-kPi / 2.0f, kPi / 2.0f, 13, 3.0f, 14);
    outFace.ScaleMarks(0.0f, 0.0f, 1, 7.0f, 20);
    outFace.Title(GetDescription());
    outFace.Needle(GetNeedleAngle(), 36);
    outFace.Value(GetText());
}
