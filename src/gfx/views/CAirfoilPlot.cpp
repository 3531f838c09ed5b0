#include "gfx/views/CAirfoilPlot.h"

#include <cmath>
#include <string>

#include "core/Diagnostics.h"
#include "core/TTableData.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"
#include "model/CAirfoil.h"

namespace
{
constexpr float kRadPerDeg = 0.017453292519943295f;
const TColor kClColour{90, 170, 255, 255};
const TColor kCdColour{255, 90, 80, 255};
const TColor kCpColour{120, 235, 120, 255};
const TColor kAxisColour{200, 200, 200, 255};
const TColor kShapeColour{255, 230, 120, 255};

void Dot(float x, float y)
{
    FillRect(static_cast<int>(x) - 1, static_cast<int>(y) - 1, 2, 2);
}
} // namespace

void CAirfoilPlot::Draw(const CAirfoil& airfoil)
{
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    // A dark sheet over the flight so the curves read against sky and grass alike.
    Set2DProjectionWindow();
    SetColor(0, 0, 0, 190);
    FillRect(0, 0, WindowClientWidth(), WindowClientHeight());
    Set2DProjectionVirtual(0, 0, WindowClientWidth(), WindowClientHeight(), 640, 480);

    SetTextAlign(TA_LEFT_TOP);
    SetColor(255, 255, 255, 255);
    std::string title = airfoil.GetFileName();
    if (!airfoil.GetName().empty())
        title += "  \"" + airfoil.GetName() + "\"";
    if (!airfoil.HasCoefficients())
        title += "  (no coefficient table: Cl = Cd = 0)";
    fonts.DrawText(fonts.f07x12S, 10.0f, 100.0f, title);

    SetColor(kAxisColour);
    DrawLine(0.0f, ValueY(0.0f), 640.0f, ValueY(0.0f));
    DrawLine(316.0f, 107.0f, 316.0f, 332.0f);
    SetTextAlign(TA_RIGHT | TA_TOP);
    for (int i = -4; i <= 4; ++i)
    {
        const float value = 0.4f * static_cast<float>(i);
        DrawLine(312.0f, ValueY(value), 320.0f, ValueY(value));
        if (i != 0)
            fonts.DrawText(fonts.f06x12, 310.0f, ValueY(value) - 6.0f, StringPrintf("%.1f", static_cast<double>(value)));
    }
    SetTextAlign(TA_LEFT_TOP);
    for (int alpha = -180; alpha <= 180; alpha += 20)
    {
        const float x = AngleX(static_cast<float>(alpha));
        DrawLine(x, ValueY(0.0f) - 3.0f, x, ValueY(0.0f) + 3.0f);
        fonts.DrawText(fonts.f06x12, x - 8.0f, ValueY(0.0f) + 5.0f, StringPrintf("%d", alpha));
    }

    for (int alpha = -180; alpha <= 180; ++alpha)
    {
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        airfoil.GetCoefficients(static_cast<float>(alpha) * kRadPerDeg, cl, cd, cp);
        const float x = AngleX(static_cast<float>(alpha));
        SetColor(kCpColour);
        Dot(x, ValueY(cp));
        SetColor(kCdColour);
        Dot(x, ValueY(cd));
        SetColor(kClColour);
        Dot(x, ValueY(cl));
    }
    SetColor(kClColour);
    fonts.DrawText(fonts.f06x12, 450.0f, 270.0f, "Cl (Lift Coefficient)");
    SetColor(kCdColour);
    fonts.DrawText(fonts.f06x12, 450.0f, 280.0f, "Cd (Drag Coefficient)");
    SetColor(kCpColour);
    fonts.DrawText(fonts.f06x12, 450.0f, 290.0f, "Cp (Centre of Pressure)");

    if (const TTableData* shape = airfoil.GetShape())
    {
        SetColor(kShapeColour);
        float previous[2] = {0.0f, 0.0f};
        for (int i = 0; i < 100; ++i)
        {
            const float x = static_cast<float>(i) / 99.0f;
            float y[2] = {0.0f, 0.0f};
            shape->Lookup(x, y, 2);
            for (int side = 0; side < 2 && i > 0; ++side)
                DrawLine((x - 1.0f / 99.0f) * 400.0f + 100.0f, 50.5f - previous[side] * 400.0f, x * 400.0f + 100.0f,
                         50.5f - y[side] * 400.0f);
            previous[0] = y[0];
            previous[1] = y[1];
        }
    }
    Set2DProjectionWindow();
    SetTextAlign(oldAlign);
}
