#pragma once
// The bitmap fonts of Data/Config/Font.txt (at most 20) and text drawing.
//
// File format (token text), blocks read in order until one fails:
//   .FONT F06x12 { .TEXTURE Font_F06x12.png .CHAR_WIDTH 6 .CHAR_HEIGHT 12 .INTERCHAR 0
//                  .INTERLINE 0 .NUM_COLUMNS 14 .NUM_ROWS 16 }
// CHAR_WIDTH, CHAR_HEIGHT, INTERCHAR and INTERLINE are required; a column or row count of 0 (or
// none) is the texture size divided by the cell. Glyph sprites are cut row by row from the top.
//
// Text layout (window pixels, y down): the pen advances (CHAR_WIDTH + INTERCHAR) x scale per
// character; the line is (CHAR_HEIGHT + INTERLINE) x scale high. The current alignment word
// moves the start: middle up by half the line, bottom by the whole line; centred left by half
// the width, right by the whole width. A space draws nothing; a character outside the font is
// drawn with glyph 10 ('*'). Nearest filtering at scale 1.0 keeps glyphs pixel-exact; any other
// scale filters linearly.

#include <string>
#include <vector>

#include "gfx/draw2d/CFont.h"
#include "gfx/draw2d/Palette.h"

class CSpriteList;
class CTextureManager;

// Text alignment word: one horizontal and one vertical part.
constexpr int TA_LEFT = 0x100;
constexpr int TA_CENTER = 0x200;
constexpr int TA_RIGHT = 0x400;
constexpr int TA_TOP = 1;
constexpr int TA_MIDDLE = 2;
constexpr int TA_BOTTOM = 4;
constexpr int TA_LEFT_TOP = TA_LEFT | TA_TOP;         // 257
constexpr int TA_LEFT_BOTTOM = TA_LEFT | TA_BOTTOM;   // 260
constexpr int TA_CENTER_MIDDLE = TA_CENTER | TA_MIDDLE; // 514

// One glyph quad of a laid-out text (window pixels, y down).
struct TGlyphQuad
{
    int sprite;          // sprite id
    float x, y, w, h;    // pixels
};

// Rectangle of drawn text (x, y, width, height).
struct TTextRect
{
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

class CFontList
{
public:
    static constexpr int kMaxFonts = 20;
    static constexpr int kFallbackGlyph = 10; // '*' in a font that starts at the space

    // Reads Data/Config/Font.txt, adding glyph sprites to sprites. False when the file cannot
    // be read. Then resolves the named fonts.
    bool Load(CTextureManager& textures, CSpriteList& sprites);
    bool LoadFile(const std::string& path, CTextureManager& textures, CSpriteList& sprites);
    // Forgets the fonts (their sprites stay in the sprite list until it is cleared).
    void Clear(CTextureManager& textures);

    // Font index or -1.
    int Find(const std::string& name) const;
    const CFont* Get(int index) const;
    int Count() const { return static_cast<int>(m_fonts.size()); }

    // Lays out one line at (x, y) with the given alignment; no GL. outRect gets
    // (x, y, text width x scale, unscaled line height) as the drawing reports it.
    std::vector<TGlyphQuad> LayoutLine(int font, float x, float y, const std::string& text, float scale, int align,
                                       const CSpriteList& sprites, TTextRect* outRect = nullptr) const;

    // Draws one line in the current colour and alignment; returns the number of characters.
    // Text after a line feed goes on the next line down. A font that does not exist draws
    // nothing.
    int DrawText(int font, float x, float y, const std::string& text, float scale = 1.0f,
                 TTextRect* outRect = nullptr) const;
    // Splits at line feeds; each next line (CHAR_HEIGHT + INTERLINE) x scale lower.
    void DrawMultiLineText(int font, float x, float y, const std::string& text, float scale = 1.0f) const;
    // DrawMultiLineText in colour over a dark, half-transparent backdrop, so a debug dump stays
    // readable over the sky and the instrument panel.
    void DrawTextPanel(int font, float x, float y, const std::string& text, const TColor& colour) const;
    // Width and height (pixels) of the text at this scale; lines split at line feeds.
    void TextExtent(int font, const std::string& text, float scale, float& outWidth, float& outHeight) const;

    // Indices of the named fonts (-1 when missing).
    int f06x12 = -1;        // "F06x12"
    int f07x12S = -1;       // "F07x12S"
    int f07x12B = -1;       // "F07x12B"
    int f09x12 = -1;        // "F09x12"
    int f09x13B = -1;       // "F09x13B"
    int f20x32Courier = -1; // "F20x32Courier"

    void ResolveNamedFonts();

    // The font-debug listing: every font's "%2.2i %s" and a sample line, from (x, y) down.
    void DrawDebug(float x, float y);

    // The alignment every text is drawn with (TA_LEFT_TOP at start).
    void SetAlign(int align) { m_align = align; }
    int Align() const { return m_align; }

private:
    std::vector<CFont> m_fonts;
    int m_align = TA_LEFT_TOP;
};

// The program's fonts.
CFontList& Fonts();

// The alignment of the program's fonts.
inline void SetTextAlign(int align)
{
    Fonts().SetAlign(align);
}
inline int TextAlign()
{
    return Fonts().Align();
}
