#pragma once
// The 42 fixed colours of the interface, addressed by index, and the current colour that every
// 2D primitive and every text is drawn in: OpenGL's own current colour, so it needs a current
// context, and a CDraw2DScope (Draw2D.h) gives it back as it found it.
//
// Indices: 0..20 a grey ramp from black to white; 21..41 reds, greens, blues, cyans, magentas,
// yellows and pinks (see Palette.cpp). Every entry is opaque.

#include <cstdint>

struct TColor
{
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 255;
    uint8_t a = 255;

    bool operator==(const TColor& other) const
    {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
    bool operator!=(const TColor& other) const { return !(*this == other); }
};

constexpr int kPaletteSize = 42;

// The palette entry; an index outside 0..41 gives white (and is reported once).
TColor PaletteColor(int index);

// Sets the current colour.
void SetColor(int paletteIndex);
void SetColor(const TColor& color);
void SetColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
