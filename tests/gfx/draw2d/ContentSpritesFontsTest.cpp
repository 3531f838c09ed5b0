// The generated interface content (Data/Config/SpriteList.txt, Font.txt, Data/Textures/
// Cursors.txt and the images they name): the sprites and fonts as their lists load them, the
// cursors read with the token reader the way their loader reads them. These catch content that
// would load "successfully" but draw the wrong thing: a missing name, a rectangle outside its
// texture, a font grid that does not fit.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include <osg/Image>
#include <osgDB/ReadFile>

#include "data/CTokenFile.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "support/DataDir.h"

namespace
{

struct ImageInfo { int width = 0; int height = 0; int channels = 0; };

bool ReadImageInfo(const std::string& path, ImageInfo& out)
{
    const osg::ref_ptr<osg::Image> image = osgDB::readImageFile(path);
    if (!image)
        return false;
    out = {image->s(), image->t(), static_cast<int>(osg::Image::computeNumComponents(image->getPixelFormat()))};
    return true;
}

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

std::string DataPath(const std::string& relative)
{
    return (SourceDir() / "Data" / relative).string();
}

// The shipped sprite list as the program loads it.
struct TShippedSprites
{
    TShippedSprites()
    {
        textures.Init();
        EXPECT_TRUE(sprites.Load(textures));
    }
    const CSprite& Named(const char* name) const { return sprites.Get(sprites.Find(name)); }

    DataDirAt shipped{SourceDir()};
    CTextureManager textures;
    CSpriteList sprites;
};

const char* const kRequiredSprites[] = {
    "RECT_TOP_LEFT", "RECT_TOP", "RECT_TOP_RIGHT", "RECT_LEFT", "RECT_CENTER", "RECT_RIGHT",
    "RECT_BOTTOM_LEFT", "RECT_BOTTOM", "RECT_BOTTOM_RIGHT", "BACKGND_BOX", "SMALL_BOX",
    "ARROW_UP", "ARROW_DOWN", "CHECKBOX_ON", "CHECKBOX_OFF", "EXPAND", "COLLAPSE",
    "B_CLOSE", "B_CLOSE_UP", "B_INS_PANEL", "B_FORCE", "B_GR_PHYSIC", "B_GR_ARTISTIC", "B_HOME",
    "B_HOME2", "B_TURTLE", "B_PLAY", "B_RECORD", "B_STOP", "B_ZOOM_AUTO", "B_ZOOM_PLUS",
    "B_ZOOM_MINUS", "B_MAN", "B_FEET", "B_ANCHOR", "B_KEYS", "B_DELETE", "B_GRID", "B_MASS",
    "B_VIEW_TOP", "B_VIEW_LEFT", "B_VIEW_FRONT", "B_VIEW_BOTTOM", "B_VIEW_RIGHT", "B_VIEW_BACK",
    "B_VIEW_PREV", "B_VIEW_NEXT", "B_ARR_LEFT", "B_ARR_RIGHT", "B_ARR_UP", "B_ARR_DOWN",
    "B_ARR_FORWARD", "B_ARR_BACKWARD",
    "MODEL_INFO", "GRAVITY", "DRAG", "SERVO", "ENGINE_PROP", "WING2", "WING3", "PROPELLER",
    "VARIABLE", "WHEEL", "WHEEL3", "COLLISION_POINT", "INPUT_FORCE", "BATTERY", "FUEL_TANK",
    "WIND", "SOUND", "Sun1", "Sun2", "MenuMainBk",
};

} // namespace

TEST(ContentSprites, EveryRequiredNameIsListedExactlyOnce)
{
    const TShippedSprites shipped;
    std::map<std::string, int> count;
    for (int i = 0; i < shipped.sprites.Count(); ++i)
        ++count[shipped.sprites.Get(i).name];
    for (const char* name : kRequiredSprites)
        EXPECT_EQ(count[name], 1) << name;
}

TEST(ContentSprites, RectanglesLieInsidePowerOfTwoTextures)
{
    const TShippedSprites shipped;
    for (int i = 0; i < shipped.sprites.Count(); ++i)
    {
        const CSprite& r = shipped.sprites.Get(i);
        const int w = shipped.textures.Width(r.textureId), h = shipped.textures.Height(r.textureId);
        // OSG would rescale other sizes on upload and blur every sprite in them.
        EXPECT_TRUE(IsPowerOfTwo(w) && IsPowerOfTwo(h)) << r.name;
        EXPECT_TRUE(r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0) << r.name;
        EXPECT_TRUE(r.x + r.width <= w && r.y + r.height <= h) << r.name << " outside its texture";
    }
}

TEST(ContentSprites, FramePiecesFormOneNineSlice)
{
    const TShippedSprites shipped;
    const auto size = [&](const char* n) { return std::pair{shipped.Named(n).width, shipped.Named(n).height}; };
    const auto corner = size("RECT_TOP_LEFT");
    ASSERT_GT(corner.first, 0);
    // Corners alike, edges as thick as the corners, so any frame size lines up.
    for (const char* n : {"RECT_TOP_RIGHT", "RECT_BOTTOM_LEFT", "RECT_BOTTOM_RIGHT"})
        EXPECT_EQ(size(n), corner) << n;
    for (const char* n : {"RECT_TOP", "RECT_BOTTOM"})
        EXPECT_EQ(size(n).second, corner.second) << n;
    for (const char* n : {"RECT_LEFT", "RECT_RIGHT"})
        EXPECT_EQ(size(n).first, corner.first) << n;
}

TEST(ContentFonts, EveryNamedFontHasItsCellAndGlyphsInsideItsTexture)
{
    TShippedSprites shipped;
    CFontList fonts;
    ASSERT_TRUE(fonts.Load(shipped.textures, shipped.sprites));
    for (const std::string name : {"F06x12", "F07x12S", "F07x12B", "F09x12", "F09x13B", "F20x32Courier"})
    {
        SCOPED_TRACE(name);
        const CFont* font = fonts.Get(fonts.Find(name));
        ASSERT_NE(font, nullptr);
        // The name promises the cell: "F07x12S" is 7 pixels wide and 12 high.
        EXPECT_EQ(font->charWidth, std::stoi(name.substr(1, 2)));
        EXPECT_EQ(font->charHeight, std::stoi(name.substr(4, 2)));
        const int w = shipped.textures.Width(font->textureId), h = shipped.textures.Height(font->textureId);
        EXPECT_TRUE(IsPowerOfTwo(w) && IsPowerOfTwo(h));
        EXPECT_EQ(shipped.textures.Components(font->textureId), 4) << "coverage must be in alpha";
        // Codes 32..126 at least; more than 224 glyphs would stand for codes above 255.
        EXPECT_GE(font->GlyphCount(), 95);
        EXPECT_LE(font->GlyphCount(), 224);
        for (int id = font->firstSprite; id <= font->lastSprite; ++id)
            EXPECT_TRUE(shipped.sprites.Get(id).x + font->charWidth <= w &&
                        shipped.sprites.Get(id).y + font->charHeight <= h) << id;
    }
}

TEST(ContentCursors, EveryCursorHasAnImageAndAHotSpotInsideIt)
{
    CTokenFile file;
    ASSERT_TRUE(file.Load(DataPath("Textures/Cursors.txt")));
    std::set<std::string> seen;
    std::string name;
    while (file.GetToken("CURSOR", name, ""))
    {
        int hx = -1, hy = -1;
        ASSERT_TRUE(file.GetVectorI2("HOT_SPOT", hx, hy, -1, -1)) << name;
        ImageInfo info;
        ASSERT_TRUE(ReadImageInfo(DataPath("Textures/" + name + ".png"), info)) << name;
        EXPECT_EQ(info.width, 32) << name;
        EXPECT_EQ(info.height, 32) << name;
        EXPECT_EQ(info.channels, 4) << name;
        EXPECT_TRUE(hx >= 0 && hx < info.width && hy >= 0 && hy < info.height) << name;
        seen.insert(name);
    }
    for (const char* cursor : {"Rotate", "Translate", "Zoom", "ShortHelp", "LongHelp", "Default"})
        EXPECT_EQ(seen.count(cursor), 1u) << cursor;
}
