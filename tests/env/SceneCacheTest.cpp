// The binary copies of the scene files: read when current, rebuilt when the text's time stamp
// differs, passed over when broken; and the textures let their images go after the upload.

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <osg/Geode>
#include <osg/Image>
#include <osg/Texture2D>
#include <osgDB/WriteFile>

#include "data/CFile.h"
#include "env/CFlyWorld.h"
#include "env/SceneCache.h"
#include "support/DataDir.h"
#include "support/DiagCapture.h"
#include "support/TestSiteScene.h"

namespace fs = std::filesystem;

namespace
{
// A site of one triangle whose far corner stands at the given height (m, kept by the reshape
// at 1000 m), with a textured scenery node beside the terrain.
void WriteSite(float height)
{
    osg::ref_ptr<osg::Group> root = new osg::Group;
    osg::ref_ptr<osg::Geode> terrain = new osg::Geode;
    terrain->setName("terrain");
    terrain->addDrawable(
        test_site::MakeTriangleList({CVector3(1000, height, 0), CVector3(0, 0, 10), CVector3(0, 0, -10)}));
    root->addChild(terrain);
    osg::ref_ptr<osg::Image> image = new osg::Image;
    // Black, and large enough to be packed.
    image->setImage(2048, 2048, 1, GL_RGB, GL_RGB, GL_UNSIGNED_BYTE, new unsigned char[2048 * 2048 * 3](), osg::Image::USE_NEW_DELETE);
    fs::create_directories("Data/Textures");
    ASSERT_TRUE(osgDB::writeImageFile(*image, "Data/Textures/Grass.png"));
    image->setFileName("../Textures/Grass.png");
    osg::ref_ptr<osg::Texture2D> texture = new osg::Texture2D(image);
    osg::ref_ptr<osg::Geode> scenery = new osg::Geode;
    scenery->setName("scenery");
    scenery->getOrCreateStateSet()->setTextureAttributeAndModes(0, texture);
    root->addChild(scenery);
    fs::create_directories("Data/3D");
    ASSERT_TRUE(osgDB::writeNodeFile(*root, "Data/3D/FlyingSite.osg"));
}

// Without the collision cache, so that the mesh shows the scene read.
float FarCornerHeight()
{
    fs::remove(BuildDataPath(DF_OUTPUT, "CacheCollision.tmp"));
    CFlyWorld world;
    world.UseSceneCache(true);
    if (!world.LoadWorld())
        return -1.0f;
    return world.GetCollisionMesh().GetTriangles()[0].a.y;
}

void Age(const std::string& path, int seconds)
{
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(seconds));
}
} // namespace

TEST(SceneCacheTest, CopyIsReadWhileTheTextKeepsItsStampAndRebuiltOnAnyOtherStampOrWhenBroken)
{
    TempDataDir dir;
    CDiagCapture diag;
    const std::string site = BuildDataPath(DF_3D, "FlyingSite.osg");
    const std::string copy = SceneCachePath(site);

    WriteSite(5.0f);
    EXPECT_FLOAT_EQ(FarCornerHeight(), 5.0f);
    ASSERT_TRUE(fs::exists(copy)) << testing::PrintToString(diag.lines);

    // The copy is what is read while the text keeps its time stamp: a text changed behind its
    // back goes unseen.
    const fs::file_time_type stamp = fs::last_write_time(site);
    WriteSite(7.0f);
    fs::last_write_time(site, stamp);
    EXPECT_FLOAT_EQ(FarCornerHeight(), 5.0f);

    // Any other stamp brings the text in and replaces the copy, an older one (data unpacked from
    // an archive over a newer copy) as well as a newer one.
    Age(site, 20);
    EXPECT_FLOAT_EQ(FarCornerHeight(), 7.0f);
    EXPECT_EQ(fs::last_write_time(copy), fs::last_write_time(site)); // else it is never read again

    // A broken copy costs a parse and a message, nothing more; the next copy is whole again.
    std::ofstream(copy, std::ios::trunc) << "not a scene";
    fs::last_write_time(copy, fs::last_write_time(site));
    diag.lines.clear();
    EXPECT_FLOAT_EQ(FarCornerHeight(), 7.0f);
    EXPECT_TRUE(diag.Contains("SceneCache/FlyingSite.osgb: the scene cache cannot be read"))
        << testing::PrintToString(diag.lines);
}

TEST(SceneCacheTest, TexturesDropTheirImagesAfterTheUploadAndFilesElsewhereAreNotCopied)
{
    TempDataDir dir;
    WriteSite(5.0f);
    for (const char* path : {"the text", "the copy"}) // the first read writes the copy
    {
        if (path == std::string("the copy")) // which holds the pixels itself
            fs::remove("Data/Textures/Grass.png");
        osg::ref_ptr<osg::Node> scene = ReadSceneFile(BuildDataPath(DF_3D, "FlyingSite.osg"));
        ASSERT_TRUE(scene.valid()) << path;
        ASSERT_NE(scene->asGroup(), nullptr);
        osg::StateSet* stateSet = scene->asGroup()->getChild(1)->getStateSet();
        ASSERT_NE(stateSet, nullptr);
        auto* texture = dynamic_cast<osg::Texture*>(stateSet->getTextureAttribute(0, osg::StateAttribute::TEXTURE));
        ASSERT_NE(texture, nullptr);
        EXPECT_TRUE(texture->getUnRefImageDataAfterApply());
        ASSERT_NE(texture->getImage(0), nullptr) << path << ": the image is still there until the upload";
        EXPECT_EQ(texture->getImage(0)->getDataType(), GLenum(GL_UNSIGNED_SHORT_5_6_5)) << path;
    }
    fs::copy_file(BuildDataPath(DF_3D, "FlyingSite.osg"), "Elsewhere.osg");
    EXPECT_TRUE(ReadSceneFile("Elsewhere.osg").valid());
    EXPECT_FALSE(fs::exists(SceneCachePath("Elsewhere.osg")));
}

TEST(SceneCacheTest, OnlyLargeRgbImagesArePackedToTheNearest565Step)
{
    const struct { int width, height; GLenum format; bool packed; } cases[] = {
        {2048, 2048, GL_RGB, true}, {4096, 1024, GL_RGB, true}, {2048, 1024, GL_RGB, false},
        {2048, 2048, GL_RGBA, false}, {2048, 2048, GL_LUMINANCE, false}};
    // White; 255 128 0; 5 2 4, where only red is past half a step.
    const std::uint16_t texels[3] = {0xFFFF, 31 << 11 | 32 << 5, 1 << 11};
    for (const auto& c : cases)
    {
        osg::ref_ptr<osg::Image> image = new osg::Image;
        image->allocateImage(c.width, c.height, 1, c.format, GL_UNSIGNED_BYTE);
        std::memcpy(image->data(), "\xff\xff\xff\xff\x80\x00\x05\x02\x04", 9);
        EXPECT_EQ(PackColourImage(*image), c.packed) << c.width << "x" << c.height << " " << c.format;
        EXPECT_FALSE(PackColourImage(*image)) << "packed twice";
        EXPECT_EQ(image->getInternalTextureFormat() == GL_RGB565 && !std::memcmp(image->data(), texels, 6), c.packed);
    }
}
