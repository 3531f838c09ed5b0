// Which sites the terrain shader takes over: only those it draws the same as the fixed-function
// pipeline. That it draws them the same is checked on a real context in SceneGlTest.

#include <gtest/gtest.h>

#include <osg/Fog>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Group>
#include <osg/Material>
#include <osg/Program>
#include <osg/Texture2D>

#include "gfx/scene/TerrainShading.h"
#include "support/DiagCapture.h"

namespace
{
struct TSite
{
    osg::Fog::Mode fogMode = osg::Fog::EXP;
    bool fogOn = true;
    osg::Material::ColorMode colourMode = osg::Material::OFF;
    bool detail = true;
};

osg::ref_ptr<osg::Group> MakeSite(const TSite& spec, osg::Geode*& outTerrain)
{
    osg::ref_ptr<osg::Group> site = new osg::Group;
    site->setName("Site");
    osg::StateSet* state = site->getOrCreateStateSet();
    auto* fog = new osg::Fog;
    fog->setMode(spec.fogMode);
    state->setAttributeAndModes(fog, spec.fogOn ? osg::StateAttribute::ON : osg::StateAttribute::OFF);
    auto* material = new osg::Material;
    material->setColorMode(spec.colourMode);
    state->setAttribute(material);
    outTerrain = new osg::Geode;
    outTerrain->setName("terrain");
    for (int i = 0; i < 2; ++i)
    {
        auto* geometry = new osg::Geometry;
        osg::StateSet* textures = geometry->getOrCreateStateSet();
        textures->setTextureAttributeAndModes(0, new osg::Texture2D);
        if (spec.detail || i == 0)
            textures->setTextureAttributeAndModes(1, new osg::Texture2D);
        outTerrain->addDrawable(geometry);
    }
    site->addChild(outTerrain);
    return site;
}

TEST(TerrainShadingTest, OnlySitesDrawnTheSameGetTheProgram)
{
    const struct
    {
        const char* what;
        TSite site;
        bool shaded;
    } rows[] = {
        {"exponential fog, plain material, two textures", {}, true},
        {"linear fog", {osg::Fog::LINEAR}, false},
        {"fog switched off", {osg::Fog::EXP, false}, false},
        {"material follows the vertex colours", {osg::Fog::EXP, true, osg::Material::AMBIENT_AND_DIFFUSE}, false},
        {"one geometry without the detail texture", {osg::Fog::EXP, true, osg::Material::OFF, false}, false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.what);
        osg::Geode* terrain = nullptr;
        osg::ref_ptr<osg::Group> site = MakeSite(row.site, terrain);
        CDiagCapture diagnostics;
        EXPECT_EQ(ApplyTerrainShading(*site), row.shaded);
        const osg::StateSet* state = terrain->getStateSet();
        const bool hasProgram = state != nullptr && state->getAttribute(osg::StateAttribute::PROGRAM) != nullptr;
        EXPECT_EQ(hasProgram, row.shaded);
        EXPECT_EQ(diagnostics.Contains("without the terrain shader"), !row.shaded);
    }
}
} // namespace
