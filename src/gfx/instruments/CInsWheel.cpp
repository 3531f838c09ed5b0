#include "gfx/instruments/CInsWheel.h"

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CPartWheel.h"
#include "model/CPartWheel3.h"
#include "model/PartClassTable.h"

bool CInsWheel::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    std::string name;
    if (!block.GetToken("WHEEL", name, "", 51) || name.empty())
    {
        DiagPrint("%sWHEEL is missing; instrument dropped\n", Who().c_str());
        return false;
    }
    m_wheel3 = dynamic_cast<CPartWheel3*>(model.FindPart(PART_WHEEL3, name));
    if (m_wheel3 == nullptr)
        m_wheel = dynamic_cast<CPartWheel*>(model.FindPart(PART_WHEEL, name));
    if (m_wheel3 == nullptr && m_wheel == nullptr)
    {
        DiagPrint("%sWHEEL: no wheel part '%s' in the model; instrument dropped\n", Who().c_str(), name.c_str());
        return false;
    }
    return true;
}

void CInsWheel::Update()
{
    m_lines.clear();
    if (m_wheel3 != nullptr)
    {
        m_skidding = m_wheel3->IsSkidding();
        m_contact = !m_wheel3->IsAirborne();
        const CVector3& v = m_wheel3->GetHubVelocity();
        m_lines.push_back(StringPrintf("Angular Vel. %3.3f", m_wheel3->GetSpin()));
        m_lines.push_back(StringPrintf("Angular Position %3.3f", m_wheel3->GetWheelAngle()));
        m_lines.push_back(StringPrintf("VelLocal (% 3.3f, % 3.3f, % 3.3f)", v.x, v.y, v.z));
        m_lines.push_back(StringPrintf("Compression %3.3f", m_wheel3->GetCompression()));
        m_lines.push_back(StringPrintf("Steering %3.3f", m_wheel3->GetSteeringAngle()));
    }
    else
    {
        m_skidding = false;
        m_contact = m_wheel->IsInContact();
    }
}

void CInsWheel::BuildFace(CInstrumentFace& outFace) const
{
    outFace.width = 80;
    outFace.height = 80;
    outFace.Title(GetDescription());
    outFace.Text(40.0f, 32.0f, m_skidding ? "Skid" : "No Skid", m_skidding ? 21 : 24, TA_CENTER_MIDDLE);
    outFace.Text(40.0f, 50.0f, m_contact ? "Contact" : "No Contact", m_contact ? 36 : 14, TA_CENTER_MIDDLE);
    float y = 84.0f;
    for (const std::string& line : m_lines)
    {
        outFace.Text(0.0f, y, line, 16, TA_LEFT_TOP, true);
        y += 11.0f;
    }
}
