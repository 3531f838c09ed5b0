#include "gfx/instruments/CInsCompass.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kDegPerRad = 57.295776f;
constexpr float kCardRadius = 21.0f; // pixels, letters of the card
} // namespace

bool CInsCompass::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_variable = FindPanelVariable(block, "VARIABLE_HEADING", panelVariables);
    return m_variable != nullptr;
}

void CInsCompass::Update()
{
    m_heading = m_model->GetHeading();
    m_variable->SetValue(m_heading);
}

float CInsCompass::GetDegrees() const
{
    float degrees = m_heading * kDegPerRad;
    if (degrees < 0.0f)
        degrees += 360.0f;
    return degrees;
}

std::string CInsCompass::GetText() const
{
    return StringPrintf("%04.1f", GetDegrees());
}

void CInsCompass::BuildFace(CInstrumentFace& outFace) const
{
    outFace.dial = true;
    // The card turns against the heading: north sits at minus the heading.
    const float card = -GetDegrees() / kDegPerRad;
    outFace.ScaleMarks(card, card + 2.0f * kPi * 35.0f / 36.0f, 36, 2.5f, 12);
    static const char* const kLetters[4] = {"N", "E", "S", "W"};
    for (int i = 0; i < 4; ++i)
    {
        const float a = card + static_cast<float>(i) * kPi / 2.0f;
        outFace.Text(CInstrumentFace::kCentreX + kCardRadius * std::sin(a),
                     CInstrumentFace::kCentreY - kCardRadius * std::cos(a), kLetters[i], i == 0 ? 21 : 18,
                     TA_CENTER_MIDDLE);
    }
    // The lubber line: the nose.
    outFace.Line(CInstrumentFace::kCentreX, CInstrumentFace::kTitleStripBottom, CInstrumentFace::kCentreX,
                 CInstrumentFace::kTitleStripBottom + 6.0f, 36);
    outFace.Title(GetDescription());
    outFace.Value(GetText());
}
