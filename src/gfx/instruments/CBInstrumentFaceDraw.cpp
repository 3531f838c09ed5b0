// The GL side of the instrument faces: everything here needs a current context and runs inside
// the caller's 2D projection (Draw2D.h), whose y axis points down.

#include <GL/gl.h>

#include <cmath>

#include "gfx/instruments/CBInstrumentFace.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"

namespace
{
constexpr int kDialSegments = 48;
constexpr float kTwoPi = 6.2831853f;

void FillPolygon(const TFacePolygon& polygon, float x, float y)
{
    glDisable(GL_TEXTURE_2D);
    // The polygon's colour is its own, not the pen's.
    glPushAttrib(GL_CURRENT_BIT);
    glColor4ub(polygon.colour.r, polygon.colour.g, polygon.colour.b, polygon.colour.a);
    glBegin(GL_TRIANGLE_FAN);
    for (const TFacePoint& p : polygon.points)
        glVertex2f(x + p.x, y + p.y);
    glEnd();
    glPopAttrib();
}

void DrawDial(float x, float y)
{
    const float cx = x + CInstrumentFace::kCentreX + 0.5f;
    const float cy = y + CInstrumentFace::kCentreY + 0.5f;
    const float r = CInstrumentFace::kDialRadius;
    glDisable(GL_TEXTURE_2D);
    SetColor(12, 14, 20, 255);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(cx, cy);
    for (int i = 0; i <= kDialSegments; ++i)
    {
        const float a = kTwoPi * static_cast<float>(i) / kDialSegments;
        glVertex2f(cx + r * std::sin(a), cy - r * std::cos(a));
    }
    glEnd();
    SetColor(12);
    for (int i = 0; i < kDialSegments; ++i)
    {
        const float a0 = kTwoPi * static_cast<float>(i) / kDialSegments;
        const float a1 = kTwoPi * static_cast<float>(i + 1) / kDialSegments;
        DrawLine(cx + r * std::sin(a0), cy - r * std::cos(a0), cx + r * std::sin(a1), cy - r * std::cos(a1));
    }
}
} // namespace

void DrawInstrumentFace(const CInstrumentFace& face, int x, int y)
{
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    // The gauge's plate: dark and slightly see-through over the scene, outlined.
    SetColor(CInstrumentFace::kPlateColour);
    FillRect(x, y, face.width, face.height, 11);
    if (face.dial)
        DrawDial(fx, fy);
    for (const TFacePolygon& polygon : face.polygons)
        FillPolygon(polygon, fx, fy);
    for (const TFaceLine& line : face.lines)
    {
        SetColor(line.colour);
        // Half-pixel offsets put one-pixel lines on pixel centres.
        DrawLine(fx + line.x0 + 0.5f, fy + line.y0 + 0.5f, fx + line.x1 + 0.5f, fy + line.y1 + 0.5f);
    }
    const int previousAlign = TextAlign();
    const CFontList& fonts = Fonts();
    for (const TFaceText& text : face.texts)
    {
        SetColor(text.colour);
        SetTextAlign(text.align);
        fonts.DrawText(fonts.f06x12, std::round(fx + text.x), std::round(fy + text.y), text.text);
    }
    SetTextAlign(previousAlign);
}
