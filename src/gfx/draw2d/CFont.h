#pragma once
// One bitmap font: a grid of glyph sprites, glyph k standing for the character with code 32 + k.

#include <string>

struct CFont
{
    std::string name;    // at most 50 characters
    int firstSprite = -1; // sprite id of glyph 0 (the space)
    int lastSprite = -1;  // sprite id of the last glyph
    int charWidth = 0;    // "CHAR_WIDTH" (pixels)
    int charHeight = 0;   // "CHAR_HEIGHT" (pixels)
    int interChar = 0;    // "INTERCHAR": extra advance between characters (pixels)
    int interLine = 0;    // "INTERLINE": extra advance between lines (pixels)
    int textureId = 0;

    int GlyphCount() const { return firstSprite < 0 ? 0 : lastSprite - firstSprite + 1; }
};
