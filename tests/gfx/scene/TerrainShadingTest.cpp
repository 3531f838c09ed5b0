// Which sites the terrain shader takes over: only those it draws the same as the fixed-function
// pipeline (that it does is checked on a real context in SceneGlTest).

#include <gtest/gtest.h>

#include <osg/Fog>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Material>
#include <osg/Texture2D>

#include "gfx/scene/TerrainShading.h"
#include "support/DiagCapture.h"

TEST(TerrainShadingTest, OnlySitesDrawnTheSameGetTheProgram)
{
    const struct
    {
        osg::Fog::Mode fog;
        osg::Material::ColorMode colours;
        bool detail;
        bool shaded;
    } rows[] = {
        {osg::Fog::EXP, osg::Material::OFF, true, true},
        {osg::Fog::LINEAR, osg::Material::OFF, true, false},
        {osg::Fog::EXP, osg::Material::AMBIENT_AND_DIFFUSE, true, false},
        {osg::Fog::EXP, osg::Material::OFF, false, false},
    };
    for (const auto& row : rows)
    {
        osg::ref_ptr<osg::Group> site = new osg::Group;
        auto* fog = new osg::Fog;
        fog->setMode(row.fog);
        site->getOrCreateStateSet()->setAttributeAndModes(fog);
        auto* material = new osg::Material;
        material->setColorMode(row.colours);
        site->getOrCreateStateSet()->setAttribute(material);
        auto* terrain = new osg::Geode;
        terrain->setName("terrain");
        auto* geometry = new osg::Geometry;
        geometry->getOrCreateStateSet()->setTextureAttributeAndModes(0, new osg::Texture2D);
        if (row.detail)
            geometry->getOrCreateStateSet()->setTextureAttributeAndModes(1, new osg::Texture2D);
        terrain->addDrawable(geometry);
        site->addChild(terrain);

        CDiagCapture diagnostics;
        EXPECT_EQ(ApplyTerrainShading(*site), row.shaded);
        const bool hasProgram = terrain->getStateSet() != nullptr &&
                                terrain->getStateSet()->getAttribute(osg::StateAttribute::PROGRAM) != nullptr;
        EXPECT_EQ(hasProgram, row.shaded);
        EXPECT_EQ(diagnostics.Contains("without the terrain shader"), !row.shaded);
    }
}
