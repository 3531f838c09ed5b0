#include <gtest/gtest.h>

#include <osg/Image>
#include <osgDB/WriteFile>

#include "data/CFile.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "support/DataDir.h"

namespace
{
// Writes a w x h RGBA PNG into dir/Data/Textures/name.
void WritePng(const TempDir& dir, const std::string& name, int w, int h)
{
    std::filesystem::create_directories(dir.Path() / "Data/Textures");
    osg::ref_ptr<osg::Image> image = new osg::Image;
    image->allocateImage(w, h, 1, GL_RGBA, GL_UNSIGNED_BYTE);
    for (int i = 0; i < w * h * 4; ++i)
        image->data()[i] = static_cast<unsigned char>(i);
    ASSERT_TRUE(osgDB::writeImageFile(*image, (dir.Path() / "Data/Textures" / name).string()));
}

class TextureManagerTest : public ::testing::Test
{
protected:
    TextureManagerTest()
    {
        WritePng(m_data.dir, "Alpha.png", 64, 32);
        WritePng(m_data.dir, "Beta.png", 16, 16);
        m_textures.Init();
    }

    TempDataDir m_data;
    CTextureManager m_textures;
};

TEST_F(TextureManagerTest, SameNameInOtherCaseSharesTheEntry)
{
    const int a = m_textures.Get("Alpha.png");
    const int b = m_textures.Get("ALPHA.PNG");
    EXPECT_EQ(a, b);
    EXPECT_GE(a, 2);
    EXPECT_EQ(m_textures.RefCount(a), 2);
    EXPECT_EQ(m_textures.Width(a), 64);
}

TEST_F(TextureManagerTest, ReleasedSlotIsReusedByTheNextTexture)
{
    const int a = m_textures.Get("Alpha.png");
    m_textures.Release(a);
    EXPECT_EQ(m_textures.RefCount(a), 0);
    EXPECT_EQ(m_textures.Get("Beta.png"), a);
    EXPECT_EQ(m_textures.Width(a), 16);
}

// The dummy exists even though its file is missing here; callers that got the stand-in release
// it like their own texture.
TEST_F(TextureManagerTest, MissingFilesGetTheDummyWhichReleasesNeverDestroy)
{
    const int slots = m_textures.SlotCount();
    EXPECT_EQ(m_textures.Get("NoSuchTexture.png"), CTextureManager::kDummyId);
    EXPECT_EQ(m_textures.Get("../escape.png"), CTextureManager::kDummyId);
    EXPECT_EQ(m_textures.SlotCount(), slots);
    m_textures.Release(CTextureManager::kDummyId);
    m_textures.Release(CTextureManager::kDummyId);
    m_textures.Release(0);
    EXPECT_EQ(m_textures.Width(CTextureManager::kDummyId), 512);
    EXPECT_EQ(m_textures.Get("Missing.png"), CTextureManager::kDummyId);
}

class SpriteListTest : public TextureManagerTest
{
protected:
    std::string WriteList(const std::string& text) { return m_data.Write("Data/Config/SpriteList.txt", text); }
    CSpriteList m_sprites;
};

TEST_F(SpriteListTest, EntriesAreReadInOrderWithTexCoords)
{
    WriteList(".SPRITES_IN_TEXTURE\n{\n .TEXTURE_FILE Alpha.png\n"
              " .SPRITE A .XY 0 0 .DXDY 16 8 .CENTER 1 2\n"
              " .SPRITE B .XY 32 16 .DXDY 32 16\n"
              " .SPRITE C .XY 16 0 .DXDY 8 8 .CENTER 3 4\n}\n");
    ASSERT_TRUE(m_sprites.Load(m_textures));
    ASSERT_EQ(m_sprites.Count(), 3);
    const CSprite& b = m_sprites.Get(m_sprites.Find("B"));
    EXPECT_FLOAT_EQ(b.s0, 0.5f);
    EXPECT_FLOAT_EQ(b.s1, 1.0f);
    EXPECT_FLOAT_EQ(b.t0, 0.5f);
    EXPECT_FLOAT_EQ(b.t1, 1.0f);
    // A sprite without CENTER keeps (0, 0) rather than taking its neighbour's.
    EXPECT_EQ(b.centerX, 0.0f);
    EXPECT_EQ(m_sprites.Get(m_sprites.Find("C")).centerY, 4.0f);
    EXPECT_EQ(m_sprites.Get(m_sprites.Find("A")).centerX, 1.0f);
}

TEST_F(SpriteListTest, EntryWithoutRectangleEndsItsBlockOnly)
{
    WriteList(".SPRITES_IN_TEXTURE\n{\n .TEXTURE_FILE Alpha.png\n"
              " .SPRITE A .XY 0 0 .DXDY 8 8\n"
              " .SPRITE BROKEN .XY 8 0\n"
              " .SPRITE LOST .XY 16 0 .DXDY 8 8\n}\n"
              ".SPRITES_IN_TEXTURE\n{\n .TEXTURE_FILE Missing.png\n .SPRITE GONE .XY 0 0 .DXDY 8 8\n}\n"
              ".SPRITES_IN_TEXTURE\n{\n .TEXTURE_FILE Beta.png\n .SPRITE D .XY 0 0 .DXDY 4 4\n}\n");
    ASSERT_TRUE(m_sprites.Load(m_textures));
    EXPECT_GE(m_sprites.Find("A"), 0);
    EXPECT_EQ(m_sprites.Find("BROKEN"), -1);
    EXPECT_EQ(m_sprites.Find("LOST"), -1);
    EXPECT_EQ(m_sprites.Find("GONE"), -1);
    EXPECT_GE(m_sprites.Find("D"), 0);
}

TEST_F(SpriteListTest, LookupIsExactAndInvalidIdsFallBackToSpriteZero)
{
    WriteList(".SPRITES_IN_TEXTURE { .TEXTURE_FILE Alpha.png .SPRITE First .XY 0 0 .DXDY 8 8 }");
    ASSERT_TRUE(m_sprites.Load(m_textures));
    EXPECT_EQ(m_sprites.Find("first"), -1);
    EXPECT_EQ(m_sprites.Get(-1).name, "First");
    EXPECT_EQ(m_sprites.Get(99).name, "First");
    EXPECT_EQ(m_sprites.Interface().arrowUp, -1);
    // Clearing releases the block's texture.
    const int id = m_sprites.Get(0).textureId;
    EXPECT_EQ(m_textures.RefCount(id), 1);
    m_sprites.Clear(m_textures);
    EXPECT_EQ(m_textures.RefCount(id), 0);
    EXPECT_EQ(m_sprites.Count(), 0);
}

TEST_F(SpriteListTest, GarbageFileLoadsNothingAndDoesNotCrash)
{
    WriteList(".SPRITES_IN_TEXTURE { .TEXTURE_FILE Alpha.png .SPRITE .XY x y .DXDY 1e99 -5 .CENTER } } {{ .SPRITE");
    m_sprites.Load(m_textures);
    EXPECT_EQ(m_sprites.Find("A"), -1);
    CSpriteList none;
    EXPECT_FALSE(none.LoadFile("/nonexistent/SpriteList.txt", m_textures));
}
} // namespace
