#include "gfx/instruments/CInsFeedback.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "model/CModel.h"
#include "model/CVariable.h"

namespace
{
constexpr const char* kKeys[CInsFeedback::kAxisCount] = {"LEFT_STICK_X", "LEFT_STICK_Y", "RIGHT_STICK_X",
                                                         "RIGHT_STICK_Y"};
constexpr float kBoxLeft[2] = {5.0f, 41.0f}; // pixels
constexpr float kCross = 3.0f;               // half size, pixels
} // namespace

bool CInsFeedback::Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName)
{
    CBInstrument::Init(block, model, panelVariables, typeName);
    for (int axis = 0; axis < kAxisCount; ++axis)
    {
        std::string name;
        if (!block.GetToken(kKeys[axis], name, "", 51) || name.empty())
            continue;
        m_variables[axis] = model.GetVariableSearchList().Find(name);
        if (m_variables[axis] == nullptr)
            DiagPrint("%s%s: variable '%s' not found; that axis reads 0\n", Who().c_str(), kKeys[axis], name.c_str());
    }
    return true;
}

void CInsFeedback::Update()
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        m_values[axis] = m_variables[axis] != nullptr ? std::clamp(m_variables[axis]->GetValue(), -1.0f, 1.0f) : 0.0f;
}

void CInsFeedback::CrossPosition(int stick, float& outX, float& outY) const
{
    const float half = kBoxSize * 0.5f;
    const float travel = half - kCross - 1.0f;
    outX = kBoxLeft[stick] + half + m_values[stick * 2] * travel;
    outY = kBoxTop + half - m_values[stick * 2 + 1] * travel;
}

void CInsFeedback::BuildFace(CInstrumentFace& outFace) const
{
    outFace.Title(GetDescription());
    for (int stick = 0; stick < 2; ++stick)
    {
        const float l = kBoxLeft[stick];
        const float r = l + kBoxSize;
        const float t = kBoxTop;
        const float b = t + kBoxSize;
        TFacePolygon box;
        box.colour = TColor{20, 20, 30, 255};
        box.points = {{l, t}, {r, t}, {r, b}, {l, b}};
        outFace.polygons.push_back(box);
        outFace.Line(l, t, r, t, 14);
        outFace.Line(r, t, r, b, 14);
        outFace.Line(r, b, l, b, 14);
        outFace.Line(l, b, l, t, 14);
        // Centre lines, dim.
        outFace.Line((l + r) * 0.5f, t + 1.0f, (l + r) * 0.5f, b - 1.0f, 7);
        outFace.Line(l + 1.0f, (t + b) * 0.5f, r - 1.0f, (t + b) * 0.5f, 7);
        float x = 0.0f;
        float y = 0.0f;
        CrossPosition(stick, x, y);
        outFace.Line(x - kCross, y, x + kCross + 1.0f, y, 36);
        outFace.Line(x, y - kCross, x, y + kCross + 1.0f, 36);
    }
    outFace.Text(kBoxLeft[0] + kBoxSize * 0.5f, kBoxTop + kBoxSize + 8.0f, "L", 14, TA_CENTER_MIDDLE, true);
    outFace.Text(kBoxLeft[1] + kBoxSize * 0.5f, kBoxTop + kBoxSize + 8.0f, "R", 14, TA_CENTER_MIDDLE, true);
}
