#include "gfx/instruments/CInsAngleOfAttack.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CPartWing2.h"
#include "model/CVariable.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kDegPerRad = 57.295776f;
constexpr float kLongLine = 48.0f;  // pixels
constexpr float kShortLine = 32.0f; // pixels
constexpr float kAxisY = 40.0f;     // the zero line, gauge pixels

// The token, without quotes if the file quoted it.
std::string Unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}
} // namespace

bool CInsAngleOfAttack::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    std::string representation;
    block.GetToken("REPRESENTATION_MODEL", representation, "MAX_ANGLE", 51);
    representation = Unquoted(representation);
    if (representation == "AVERAGE_ANGLE")
        m_representation = REPRESENT_AVERAGE;
    else if (representation == "BOTH_ANGLES")
        m_representation = REPRESENT_BOTH;
    else
    {
        if (representation != "MAX_ANGLE")
            DiagPrint("%sREPRESENTATION_MODEL '%s' unknown; MAX_ANGLE used\n", Who().c_str(), representation.c_str());
        m_representation = REPRESENT_MAX;
    }

    bool ok = true;
    auto findWing = [&](const char* key, CPartWing2*& outWing) {
        std::string name;
        if (!block.GetToken(key, name, "", 51) || name.empty())
            return;
        outWing = dynamic_cast<CPartWing2*>(model.FindPart(PART_WING2, name));
        if (outWing == nullptr)
        {
            DiagPrint("%s%s: no WING2 part '%s' in the model; instrument dropped\n", Who().c_str(), key, name.c_str());
            ok = false;
        }
    };
    findWing("LEFT_WING", m_leftWing);
    findWing("RIGHT_WING", m_rightWing);
    if (ok && m_leftWing == nullptr && m_rightWing == nullptr)
    {
        DiagPrint("%sneither LEFT_WING nor RIGHT_WING is given; instrument dropped\n", Who().c_str());
        ok = false;
    }
    m_variable = FindPanelVariable(block, "VARIABLE_ANGLE_ATTACK", panelVariables);
    return ok && m_variable != nullptr;
}

void CInsAngleOfAttack::Update()
{
    m_left = m_leftWing != nullptr ? m_leftWing->GetAngleOfAttack() : 0.0f;
    m_right = m_rightWing != nullptr ? m_rightWing->GetAngleOfAttack() : 0.0f;
    m_stallLimit = kStallLimit;
    m_variable->SetValue(m_left);
}

bool CInsAngleOfAttack::IsStallWarning() const
{
    return std::max(m_left, m_right) > m_stallLimit;
}

void CInsAngleOfAttack::BuildFace(CInstrumentFace& outFace) const
{
    outFace.width = 80;
    outFace.height = 80;
    outFace.Title(GetDescription());
    // The zero line and the stall limit from the left side, dim.
    const float x0 = 4.0f;
    outFace.Line(x0, kAxisY, x0 + kLongLine + 20.0f, kAxisY, 8);
    outFace.Line(x0, kAxisY, x0 + kLongLine * std::cos(m_stallLimit), kAxisY - kLongLine * std::sin(m_stallLimit), 23);

    auto ray = [&](float fromX, float angle, float length, int colour) {
        // Angles beyond a quarter turn would fold the line back over the gauge.
        const float a = std::clamp(angle, -1.5f, 1.5f);
        const float x1 = fromX + length * std::cos(a);
        const float y1 = kAxisY - length * std::sin(a);
        outFace.Line(fromX, kAxisY, x1, y1, colour);
        return TFacePoint{x1, y1};
    };
    if (m_representation == REPRESENT_BOTH)
    {
        const float cx = 40.0f;
        ray(cx, m_left, kShortLine, 30);
        ray(cx, m_right, kShortLine, 36);
        ray(cx, m_left - m_right, kShortLine * 0.5f, 33);
        outFace.Text(20.0f, 59.0f, StringPrintf("% 3.1f", TidyZero(m_left * kDegPerRad)), 30, TA_CENTER_MIDDLE);
        outFace.Text(60.0f, 59.0f, StringPrintf("% 3.1f", TidyZero(m_right * kDegPerRad)), 36, TA_CENTER_MIDDLE);
        outFace.Text(40.0f, 70.0f, StringPrintf("% 3.1f", TidyZero((m_left - m_right) * kDegPerRad)), 33, TA_CENTER_MIDDLE);
    }
    else
    {
        const float angle =
            m_representation == REPRESENT_AVERAGE ? (m_left + m_right) * 0.5f : std::max(m_left, m_right);
        ray(x0, angle, kLongLine, 36);
        outFace.Value(StringPrintf("% 3.1f", TidyZero(angle * kDegPerRad)));
    }
    if (IsStallWarning())
        outFace.Text(40.0f, 86.0f, "Stall Warning", 21, TA_CENTER_MIDDLE);
}
