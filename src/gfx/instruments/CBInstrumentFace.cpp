#include "gfx/instruments/CBInstrumentFace.h"

#include <cmath>

#include "gfx/draw2d/CFontList.h"

void CInstrumentFace::Line(float x0, float y0, float x1, float y1, int colour)
{
    lines.push_back(TFaceLine{x0, y0, x1, y1, colour});
}

void CInstrumentFace::Text(float x, float y, const std::string& text, int colour, int align, bool small)
{
    texts.push_back(TFaceText{x, y, text, colour, align, small});
}

void CInstrumentFace::Title(const std::string& title)
{
    // A strip of the gauge's plate colour over the top of the dial keeps the title clear of it.
    TFacePolygon strip;
    strip.colour = kPlateColour;
    const float w = static_cast<float>(width) - 2.0f;
    strip.points = {{1.0f, 1.0f}, {w, 1.0f}, {w, kTitleStripBottom}, {1.0f, kTitleStripBottom}};
    polygons.push_back(strip);
    Text(kCentreX, kTitleY, title, 18, TA_CENTER | TA_TOP);
}

void CInstrumentFace::Value(const std::string& text, int colour)
{
    // A dark plate under the number keeps it readable where a needle crosses it.
    TFacePolygon plate;
    plate.colour = TColor{0, 0, 0, 200};
    plate.points = {{kCentreX - 30.0f, kValueY - 7.0f},
                    {kCentreX + 30.0f, kValueY - 7.0f},
                    {kCentreX + 30.0f, kValueY + 7.0f},
                    {kCentreX - 30.0f, kValueY + 7.0f}};
    polygons.push_back(plate);
    Text(kCentreX, kValueY, text, colour, TA_CENTER_MIDDLE);
}

void CInstrumentFace::Needle(float angleRad, int colour)
{
    Line(kCentreX, kCentreY, kCentreX + kNeedleLength * std::sin(angleRad),
         kCentreY - kNeedleLength * std::cos(angleRad), colour);
}

void CInstrumentFace::ScaleMarks(float startRad, float endRad, int count, float length, int colour)
{
    for (int i = 0; i < count; ++i)
    {
        const float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
        const float a = startRad + (endRad - startRad) * t;
        const float s = std::sin(a);
        const float c = std::cos(a);
        const float outer = kDialRadius - 1.0f;
        const float inner = outer - length;
        // Marks under the title strip would cut through its text.
        if (kCentreY - outer * c < kTitleStripBottom)
            continue;
        Line(kCentreX + outer * s, kCentreY - outer * c, kCentreX + inner * s, kCentreY - inner * c, colour);
    }
}

const TFaceText* CInstrumentFace::FindText(const std::string& part) const
{
    for (const TFaceText& text : texts)
        if (text.text.find(part) != std::string::npos)
            return &text;
    return nullptr;
}
