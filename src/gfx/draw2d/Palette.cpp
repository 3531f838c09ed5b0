#include "gfx/draw2d/Palette.h"

#include <GL/gl.h>

#include "core/Diagnostics.h"

namespace
{
const TColor kPalette[kPaletteSize] = {
    {0, 0, 0, 255},       {12, 12, 12, 255},    {25, 25, 25, 255},    {38, 38, 38, 255},
    {51, 51, 51, 255},    {63, 63, 63, 255},    {76, 76, 76, 255},    {89, 89, 89, 255},
    {102, 102, 102, 255}, {114, 114, 114, 255}, {127, 127, 127, 255}, {140, 140, 140, 255},
    {153, 153, 153, 255}, {165, 165, 165, 255}, {178, 178, 178, 255}, {191, 191, 191, 255},
    {204, 204, 204, 255}, {216, 216, 216, 255}, {229, 229, 229, 255}, {242, 242, 242, 255},
    {255, 255, 255, 255}, // 20: white
    {255, 0, 0, 255},     {255, 100, 100, 255}, {100, 0, 0, 255},     // 21..23 red
    {0, 255, 0, 255},     {100, 255, 100, 255}, {0, 100, 0, 255},     // 24..26 green
    {0, 0, 255, 255},     {100, 100, 255, 255}, {0, 0, 100, 255},     // 27..29 blue
    {0, 255, 255, 255},   {100, 255, 255, 255}, {0, 100, 100, 255},   // 30..32 cyan
    {255, 0, 255, 255},   {255, 100, 255, 255}, {100, 0, 100, 255},   // 33..35 magenta
    {255, 255, 0, 255},   {255, 255, 100, 255}, {100, 100, 0, 255},   // 36..38 yellow
    {255, 150, 150, 255}, {255, 80, 80, 255},   {100, 60, 60, 255},   // 39..41 pinks
};
} // namespace

TColor PaletteColor(int index)
{
    if (index < 0 || index >= kPaletteSize)
    {
        // Indices come from the code, never from files: one line is enough to find the caller.
        static bool reported = false;
        if (!reported)
            DiagPrint("Palette: colour index %i outside 0..%i, using white\n", index, kPaletteSize - 1);
        reported = true;
        return TColor{};
    }
    return kPalette[index];
}

void SetColor(int paletteIndex)
{
    SetColor(PaletteColor(paletteIndex));
}

void SetColor(const TColor& color)
{
    glColor4ub(color.r, color.g, color.b, color.a);
}

void SetColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    glColor4ub(r, g, b, a);
}
