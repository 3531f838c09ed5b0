#pragma once
// What one gauge shows, as plain data in the gauge's own pixels (origin at its top-left corner,
// y down): the frame, filled polygons, lines and texts. Instruments build a face from their last
// reading; DrawInstrumentFace turns it into 2D drawing. Keeping the two apart lets the values,
// needle ends and texts of every gauge be checked without a GL context.
//
// Drawing order: frame, polygons, lines, texts, so texts stay readable over the dial.

#include <string>
#include <vector>

#include "gfx/draw2d/Palette.h"

struct TFacePoint
{
    float x = 0.0f, y = 0.0f; // gauge pixels, y down
};

struct TFacePolygon
{
    std::vector<TFacePoint> points; // convex, filled
    TColor colour;
};

struct TFaceLine
{
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f; // gauge pixels
    int colour = 20;                                 // palette index
};

struct TFaceText
{
    float x = 0.0f, y = 0.0f; // anchor, gauge pixels
    std::string text;
    int colour = 20;          // palette index
    int align = 0;            // TA_ word of CFontList.h
    bool small = false;       // the small font (scale marks, diagnostic lines)
};

class CInstrumentFace
{
public:
    // Shared gauge geometry.
    static constexpr float kCentreX = 39.0f;      // needle centre, pixels from the left edge
    static constexpr float kCentreY = 39.0f;      // needle centre, pixels from the top edge
    static constexpr float kNeedleLength = 27.3f; // pixels
    static constexpr float kTitleY = 4.0f;        // title, centred at kCentreX
    static constexpr float kTitleStripBottom = 16.0f; // the title's strip, over the dial's top
    static constexpr float kValueY = 59.0f;       // value text, centred at kCentreX
    static constexpr float kDialRadius = 34.0f;   // the round dial behind needles
    static constexpr TColor kPlateColour{30, 32, 40, 215}; // the gauge's background

    int width = 79;  // frame, pixels
    int height = 79;
    bool dial = false; // a round dial is drawn behind the needle
    std::vector<TFacePolygon> polygons;
    std::vector<TFaceLine> lines;
    std::vector<TFaceText> texts;

    void Line(float x0, float y0, float x1, float y1, int colour);
    void Text(float x, float y, const std::string& text, int colour, int align, bool small = false);
    // The title at the top, centred (call after setting width).
    void Title(const std::string& title);
    // The value text centred at kValueY.
    void Value(const std::string& text, int colour = 20);
    // A needle from the centre; angle in radians clockwise from straight up.
    void Needle(float angleRad, int colour);
    // Scale marks on the dial: count marks evenly over the arc from startRad to endRad (clockwise
    // from straight up), each length pixels long inwards from the dial's edge.
    void ScaleMarks(float startRad, float endRad, int count, float length, int colour);
    // The first text containing part, or null (for tests and the debug listing).
    const TFaceText* FindText(const std::string& part) const;
};

// Draws the face with its top-left corner at (x, y) of the current 2D projection. Needs a GL
// context and the fonts (Gfx2D).
void DrawInstrumentFace(const CInstrumentFace& face, int x, int y);
