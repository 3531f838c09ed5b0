#include "gfx/instruments/CInsArtificialHorizon.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr float kDegPerRad = 57.295776f;
constexpr float kCentreX = (CInsArtificialHorizon::kLeft + CInsArtificialHorizon::kRight) * 0.5f;
constexpr float kCentreY = (CInsArtificialHorizon::kTop + CInsArtificialHorizon::kBottom) * 0.5f;
const TColor kSky{60, 130, 220, 255};
const TColor kGround{140, 90, 40, 255};
} // namespace

bool CInsArtificialHorizon::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables,
                                 const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    m_pitchVariable = FindPanelVariable(block, "VARIABLE_PITCH_ANGLE", panelVariables);
    m_rollVariable = FindPanelVariable(block, "VARIABLE_ROLL_ANGLE", panelVariables);
    return m_pitchVariable != nullptr && m_rollVariable != nullptr;
}

void CInsArtificialHorizon::Update()
{
    m_pitch = m_model->GetPitch();
    m_roll = m_model->GetRoll();
    m_pitchVariable->SetValue(m_pitch);
    m_rollVariable->SetValue(m_roll);
}

std::string CInsArtificialHorizon::GetPitchText() const
{
    return StringPrintf("Pitch % 3.1f", TidyZero(m_pitch * kDegPerRad));
}

std::string CInsArtificialHorizon::GetRollText() const
{
    return StringPrintf("Roll % 3.1f", TidyZero(m_roll * kDegPerRad));
}

TFacePolygon CInsArtificialHorizon::GroundPolygon(float pitchRad, float rollRad)
{
    // Screen y grows downwards. The horizon runs along (cos r, -sin r) and its downward normal is
    // n = (sin r, cos r); the nose rising moves it down along n.
    const float nx = std::sin(rollRad);
    const float ny = std::cos(rollRad);
    const float px = kCentreX + nx * pitchRad * kPixelsPerRad;
    const float py = kCentreY + ny * pitchRad * kPixelsPerRad;
    auto side = [&](const TFacePoint& p) { return (p.x - px) * nx + (p.y - py) * ny; };

    // One clipping pass of the window's corners against the half-plane side >= 0.
    const TFacePoint corners[4] = {{kLeft, kTop}, {kRight, kTop}, {kRight, kBottom}, {kLeft, kBottom}};
    TFacePolygon ground;
    ground.colour = kGround;
    for (int i = 0; i < 4; ++i)
    {
        const TFacePoint& a = corners[i];
        const TFacePoint& b = corners[(i + 1) % 4];
        const float sa = side(a);
        const float sb = side(b);
        if (sa >= 0.0f)
            ground.points.push_back(a);
        if ((sa >= 0.0f) != (sb >= 0.0f))
        {
            const float t = sa / (sa - sb);
            ground.points.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    if (ground.points.size() < 3)
        ground.points.clear();
    return ground;
}

void CInsArtificialHorizon::BuildFace(CInstrumentFace& outFace) const
{
    TFacePolygon sky;
    sky.colour = kSky;
    sky.points = {{kLeft, kTop}, {kRight, kTop}, {kRight, kBottom}, {kLeft, kBottom}};
    outFace.polygons.push_back(sky);
    TFacePolygon ground = GroundPolygon(m_pitch, m_roll);
    if (!ground.points.empty())
        outFace.polygons.push_back(ground);
    // The model symbol: wings and a centre dot, fixed to the window.
    outFace.Line(kCentreX - 18.0f, kCentreY, kCentreX - 6.0f, kCentreY, 36);
    outFace.Line(kCentreX + 6.0f, kCentreY, kCentreX + 18.0f, kCentreY, 36);
    outFace.Line(kCentreX - 6.0f, kCentreY, kCentreX, kCentreY + 4.0f, 36);
    outFace.Line(kCentreX, kCentreY + 4.0f, kCentreX + 6.0f, kCentreY, 36);
    outFace.Line(kLeft, kTop, kRight, kTop, 14);
    outFace.Line(kRight, kTop, kRight, kBottom, 14);
    outFace.Line(kRight, kBottom, kLeft, kBottom, 14);
    outFace.Line(kLeft, kBottom, kLeft, kTop, 14);
    outFace.Title(GetDescription());
    outFace.Text(CInstrumentFace::kCentreX, CInstrumentFace::kValueY, GetPitchText(), 20, TA_CENTER_MIDDLE);
    outFace.Text(CInstrumentFace::kCentreX, CInstrumentFace::kValueY + 11.0f, GetRollText(), 20, TA_CENTER_MIDDLE);
}
