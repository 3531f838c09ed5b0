#pragma once
// Every sprite of the program: the sprites declared in Data/Config/SpriteList.txt, followed by
// the glyph sprites of the fonts. Looked up by name once (the controls keep ids).
//
// File format (token text):
//   .SPRITES_IN_TEXTURE
//   {
//     .TEXTURE_FILE Sprites_Interface.png
//     .SPRITE B_HOME   .XY 30 110  .DXDY 24 24  .CENTER 0 0
//   }
// Entries are read in the order written, each SPRITE with the XY, DXDY and optional CENTER that
// follow it; an entry without XY or DXDY ends its block. A block whose texture cannot be read
// adds no sprites.

#include <string>
#include <vector>

#include "gfx/draw2d/CSprite.h"

class CTextureManager;

// Ids of the interface sprites the controls draw with; -1 when the list lacks them.
struct TInterfaceSprites
{
    int arrowUp = -1;     // "ARROW_UP"
    int backgndBox = -1;  // "BACKGND_BOX"
    int smallBox = -1;    // "SMALL_BOX"
    int arrowDown = -1;   // "ARROW_DOWN"
    // "RECT_TOP_LEFT", "RECT_TOP", "RECT_TOP_RIGHT", "RECT_LEFT", "RECT_CENTER", "RECT_RIGHT",
    // "RECT_BOTTOM_LEFT", "RECT_BOTTOM", "RECT_BOTTOM_RIGHT"
    int rect[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    int checkboxOn = -1;  // "CHECKBOX_ON"
    int checkboxOff = -1; // "CHECKBOX_OFF"
    int expand = -1;      // "EXPAND"
    int collapse = -1;    // "COLLAPSE"
};

class CSpriteList
{
public:
    // Reads Data/Config/SpriteList.txt (appending to the list), getting textures from textures,
    // then resolves the interface sprites. False when the file cannot be read.
    bool Load(CTextureManager& textures);
    // The same from a file path.
    bool LoadFile(const std::string& path, CTextureManager& textures);
    // Releases the textures the list's blocks took and empties the list (font glyphs too).
    void Clear(CTextureManager& textures);

    // The first sprite whose name is exactly equal, or -1.
    int Find(const std::string& name) const;
    // The sprite; -1 (and any other invalid id) yields sprite 0, or an empty sprite when the
    // list is empty.
    const CSprite& Get(int id) const;
    // Appends and returns the id.
    int Add(const CSprite& sprite);
    int Count() const { return static_cast<int>(m_sprites.size()); }

    void ResolveInterfaceSprites();
    const TInterfaceSprites& Interface() const { return m_interface; }

private:
    std::vector<CSprite> m_sprites;
    TInterfaceSprites m_interface;
    std::vector<int> m_heldTextures; // one reference per block read, released by Clear
};

// The program's sprite list.
CSpriteList& SpriteList();
