#include "app/CCursorTable.h"

#include <SDL2/SDL.h>

#include <osg/Image>
#include <osgDB/ReadFile>

#include <cstring>

#include "core/Diagnostics.h"
#include "data/CTokenFile.h"

namespace
{
// SDL2 reads only BMP itself, so the PNG is read by osgDB and copied into a surface.
SDL_Cursor* CursorFromImage(const std::string& path, int hotX, int hotY)
{
    osg::ref_ptr<osg::Image> image = osgDB::readRefImageFile(path);
    if (!image || image->s() <= 0 || image->t() <= 0 || image->getPixelFormat() != GL_RGBA ||
        image->getDataType() != GL_UNSIGNED_BYTE)
    {
        DiagPrint("Cursor %s: not an RGBA image that can be read\n", path.c_str());
        return nullptr;
    }
    const int width = image->s();
    const int height = image->t();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return nullptr;
    // osgDB stores the rows bottom-up (OpenGL's origin); a surface is top-down.
    for (int row = 0; row < height; ++row)
    {
        const unsigned char* source = image->data(0, height - 1 - row);
        std::memcpy(static_cast<unsigned char*>(surface->pixels) + row * surface->pitch, source,
                    static_cast<size_t>(width) * 4);
    }
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    if (!cursor)
        DiagPrint("Cursor %s: %s\n", path.c_str(), SDL_GetError());
    return cursor;
}
} // namespace

CCursorTable::~CCursorTable()
{
    Free();
}

int CCursorTable::Load(const std::string& texturesFolder)
{
    Free();
    m_cursors[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    m_cursors[7] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE);
    m_cursors[8] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    m_cursors[9] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    m_cursors[10] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW);

    struct SImageCursor
    {
        int index;
        const char* name;
    };
    const SImageCursor images[] = {{2, "Rotate"}, {3, "Translate"}, {4, "Zoom"}, {5, "ShortHelp"}, {6, "LongHelp"}, {11, "Default"}};
    CTokenFile hotSpots;
    const std::string listPath = texturesFolder + "Cursors.txt";
    if (!hotSpots.Load(listPath))
        DiagPrint("%s: cannot be read; cursor hot spots at the top-left corner\n", listPath.c_str());

    // The list gives each CURSOR name followed by its HOT_SPOT.
    int hot[kCount][2] = {};
    std::string name;
    while (hotSpots.IsOk() && hotSpots.GetToken("CURSOR", name, "", 50))
    {
        int x = 0, y = 0;
        hotSpots.GetVectorI2("HOT_SPOT", x, y, 0, 0);
        for (const SImageCursor& image : images)
        {
            if (name == image.name)
            {
                hot[image.index][0] = x;
                hot[image.index][1] = y;
            }
        }
    }
    int built = 0;
    for (const SImageCursor& image : images)
    {
        m_cursors[image.index] = CursorFromImage(texturesFolder + image.name + ".png", hot[image.index][0], hot[image.index][1]);
        if (m_cursors[image.index])
            ++built;
        else
            m_cursors[image.index] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    }
    m_shown = -1;
    Show(Choose(m_mask));
    return built;
}

void CCursorTable::Free()
{
    for (SDL_Cursor*& cursor : m_cursors)
    {
        if (cursor)
            SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    m_shown = -1;
}

int CCursorTable::Choose(uint32_t mask)
{
    for (int bit : {7, 8, 9, 10, 0, 1, 2, 3, 4, 5, 6})
    {
        if (mask & (1u << bit))
            return bit;
    }
    return kDefault;
}

void CCursorTable::SetRequest(int index, bool on)
{
    if (index < 0 || index > 10)
        return;
    if (on)
        m_mask |= 1u << index;
    else
        m_mask &= ~(1u << index);
    Show(Choose(m_mask));
}

void CCursorTable::Show(int index)
{
    if (index == m_shown)
        return;
    m_shown = index;
    if (index == kHidden)
    {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    if (m_cursors[index])
        SDL_SetCursor(m_cursors[index]);
}
