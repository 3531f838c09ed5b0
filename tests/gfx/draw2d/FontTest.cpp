#include <gtest/gtest.h>

#include "data/CFile.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "support/DataDir.h"

namespace
{
// The shipped fonts, loaded once for the layout tests.
class FontTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        DataDirAt shipped(SourceDir());
        s_textures = new CTextureManager;
        s_textures->Init();
        s_sprites = new CSpriteList;
        s_fonts = new CFontList;
        ASSERT_TRUE(s_fonts->Load(*s_textures, *s_sprites));
    }
    static void TearDownTestSuite()
    {
        delete s_fonts;
        delete s_sprites;
        delete s_textures;
    }

    static CTextureManager* s_textures;
    static CSpriteList* s_sprites;
    static CFontList* s_fonts;
};
CTextureManager* FontTest::s_textures = nullptr;
CSpriteList* FontTest::s_sprites = nullptr;
CFontList* FontTest::s_fonts = nullptr;

// y: expected start of the text "Hello" (F06x12, scale 2) drawn at (100, 50)
struct AlignRow { int align; float x, y; };

TEST_F(FontTest, AlignmentMovesTheStartByTheTextSize)
{
    // "Hello": 5 x 6 x 2 = 60 pixels wide, 12 x 2 = 24 high.
    const AlignRow rows[] = {
        {TA_LEFT_TOP, 100.0f, 50.0f},
        {TA_LEFT_BOTTOM, 100.0f, 26.0f},
        {TA_CENTER_MIDDLE, 70.0f, 38.0f},
        {TA_RIGHT | TA_TOP, 40.0f, 50.0f},
    };
    for (const AlignRow& row : rows)
    {
        TTextRect rect;
        const auto quads = s_fonts->LayoutLine(s_fonts->f06x12, 100.0f, 50.0f, "Hello", 2.0f, row.align, *s_sprites, &rect);
        ASSERT_EQ(quads.size(), 5u) << row.align;
        EXPECT_FLOAT_EQ(quads[0].x, row.x) << row.align;
        EXPECT_FLOAT_EQ(quads[0].y, row.y) << row.align;
        EXPECT_FLOAT_EQ(quads[4].x, row.x + 48.0f) << row.align;
        EXPECT_FLOAT_EQ(rect.w, 60.0f);
        EXPECT_FLOAT_EQ(rect.h, 24.0f);
    }
}

TEST_F(FontTest, SpacesAdvanceWithoutGlyphsAndForeignCharactersUseTheStar)
{
    const CFont* font = s_fonts->Get(s_fonts->f09x12);
    const auto quads = s_fonts->LayoutLine(s_fonts->f09x12, 0.0f, 0.0f, std::string("a b\t"), 1.0f, TA_LEFT_TOP, *s_sprites);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[1].x, 18.0f);
    EXPECT_EQ(quads[0].sprite, font->firstSprite + ('a' - 32));
    EXPECT_EQ(quads[2].sprite, font->firstSprite + ('*' - 32)); // the tab
    // Glyph k covers column k % 14, row k / 14 of the font's grid.
    const CSprite& a = s_sprites->Get(font->firstSprite + ('A' - 32));
    EXPECT_EQ(a.x, (('A' - 32) % 14) * font->charWidth);
    EXPECT_EQ(a.y, (('A' - 32) / 14) * font->charHeight);
}

TEST_F(FontTest, ExtentCoversEveryLineAndAMissingFontDrawsNothing)
{
    float w = 0.0f, h = 0.0f;
    s_fonts->TextExtent(s_fonts->f07x12B, "abc\nabcdef\n", 1.0f, w, h);
    EXPECT_FLOAT_EQ(w, 42.0f);
    EXPECT_FLOAT_EQ(h, 36.0f);
    // A font that is not there measures and draws nothing.
    s_fonts->TextExtent(-1, "abc", 1.0f, w, h);
    EXPECT_FLOAT_EQ(w, 0.0f);
    EXPECT_TRUE(s_fonts->LayoutLine(17, 0, 0, "abc", 1.0f, TA_LEFT_TOP, *s_sprites).empty());
    EXPECT_EQ(s_fonts->DrawText(-1, 0, 0, "abcd"), 4);
}

TEST(FontFile, BrokenBlocksStopLoadingWithoutCrashing)
{
    TempDataDir data;
    const TempDir& dir = data.dir;
    CTextureManager textures;
    textures.Init();
    CSpriteList sprites;
    CFontList fonts;
    const std::string path = dir.Write("Font.txt", ".FONT Good { .TEXTURE Missing.png .CHAR_WIDTH 6 .CHAR_HEIGHT 12 "
                                                   ".INTERCHAR 0 .INTERLINE 0 }\n"
                                                   ".FONT Bad { .TEXTURE x.png .CHAR_WIDTH 6 }\n"
                                                   ".FONT After { .CHAR_WIDTH 6 .CHAR_HEIGHT 12 .INTERCHAR 0 .INTERLINE 0 }\n");
    EXPECT_TRUE(fonts.LoadFile(path, textures, sprites));
    // The first has no texture (skipped), the second lacks keys (loading stops there).
    EXPECT_EQ(fonts.Count(), 0);
    EXPECT_EQ(sprites.Count(), 0);
    EXPECT_FALSE(fonts.LoadFile(dir.Path().string() + "/none.txt", textures, sprites));
}
} // namespace
