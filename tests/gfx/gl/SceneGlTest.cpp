// The flying site with sky, sun and a model, seen from the pilot's position, drawn with the
// scene view on a real GL context: pixels are checked and screenshots written. The frame rate
// is measured by bench/bench_screens.py.

#include <filesystem>

#include <osg/FrameStamp>
#include <osg/Program>
#include <osgUtil/SceneView>

#include "GlWindowTest.h"
#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CSun.h"
#include "gfx/scene/CSunRenderer.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "gfx/scene/TerrainShading.h"
#include "env/TerrainGeometry.h"

namespace
{
constexpr int kW = GlWindowTest::kW;
constexpr int kH = GlWindowTest::kH;

using SceneGlTest = GlWindowTest;

// The world of the flight screen, built from the registries as the flight view will.
struct TWorld
{
    explicit TWorld(osg::ref_ptr<osg::State>& state)
        : vdbs((SourceDir() / "Data/3D").string() + "/"), objects(vdbs), scenes(objects)
    {
        scene = scenes.Create("World");
        site = objects.Create("FlyingSite", vdbs.Load("FlyingSite.osg"));
        sky = objects.Create("SkyDome", vdbs.Load("SkyDome.osg"));
        const bool haveTrainer = std::filesystem::exists(SourceDir() / "Data/3D/Trainer.osg");
        modelFile = haveTrainer ? "Trainer.osg" : "Dummy.osg";
        model = objects.Create("SO_Model", vdbs.Load(modelFile));
        for (int index : {site, sky, model})
            scenes.AddObject(scene, index);
        objects.Object(model)->SetPose(CVector3(0.0f, 0.4f, 0.0f), CMatrix3());

        view = new osgUtil::SceneView;
        view->setDefaults();
        if (state == nullptr)
            state = view->getState();
        view->setState(state.get());
        view->setSceneData(scenes.Scene(scene)->GetRoot());
        view->setLightingMode(osgUtil::SceneView::SKY_LIGHT);
        view->setViewport(0, 0, kW, kH);
        // The sky dome around the camera and a 6.5 km site: the automatic near/far cuts the
        // near ground away; the flight view sets its own planes.
        view->setComputeNearFarMode(osg::CullSettings::DO_NOT_COMPUTE_NEAR_FAR);
        view->setProjectionMatrixAsPerspective(45.0, double(kW) / kH, 0.3, 20000.0);
        view->setViewMatrixAsLookAt(osg::Vec3(0, 1.7f, 5), osg::Vec3(0, 0.4f, 0), osg::Vec3(0, 1, 0));
        view->setClearColor(osg::Vec4(0, 0, 0, 1));
        sunDrawer.SetViewport(0, 0, kW, kH);
        stamp = new osg::FrameStamp;
        view->setFrameStamp(stamp.get());
    }

    void Draw(float frameTime)
    {
        const CVector3 eye(0, 1.7f, 5);
        objects.Object(sky)->GetTransformNode()->setMatrix(CSun::SkyDomeMatrix(eye));
        sun.ApplyToLight(*view->getLight());
        stamp->setFrameNumber(stamp->getFrameNumber() + 1);
        view->update();
        view->cull();
        view->draw();
        const CVector3 forward = (CVector3(0, 0.4f, 0) - eye).Normalized();
        sunDrawer.DrawDisc(sun, view->getViewMatrix(), view->getProjectionMatrix(), eye);
        sunDrawer.DrawGlare(sun, view->getViewMatrix(), view->getProjectionMatrix(), eye, forward, frameTime);
    }

    CVdbObjectAdmin vdbs;
    CSceneObjectAdmin objects;
    CSceneAdmin scenes;
    int scene = 0, site = 0, sky = 0, model = 0;
    std::string modelFile;
    CSun sun;
    CSunRenderer sunDrawer;
    osg::ref_ptr<osgUtil::SceneView> view;
    osg::ref_ptr<osg::FrameStamp> stamp;
};

TEST_F(SceneGlTest, PilotSeesSkyAboveGroundBelowAndTheModelInTheMiddle)
{
    TWorld world(s_osgState);
    ASSERT_GT(world.vdbs.FileName(world.objects.Object(world.site)->GetVdbIndex()).size(), 0u);
    world.sun.SetTimeOfDay(60.0f); // the sun behind the pilot's right shoulder: no glare
    world.objects.Object(world.model)->SetVisible(false);
    world.Draw(0.02f);
    const std::vector<unsigned char> without = ReadWindow();
    world.objects.Object(world.model)->SetVisible(true);
    world.Draw(0.02f);
    const std::vector<unsigned char> with = ReadWindow();

    const TRgb top = At(kW / 2, 5);
    EXPECT_GT(top.b, top.r) << "sky at the top: " << top.r << " " << top.g << " " << top.b;
    EXPECT_GT(top.b, 100);
    const TRgb bottom = At(kW / 2, kH - 5);
    EXPECT_GT(bottom.g, bottom.b) << "ground at the bottom: " << bottom.r << " " << bottom.g << " " << bottom.b;

    // The model covers pixels around the middle of the picture.
    int changed = 0;
    for (int y = kH / 2 - 150; y < kH / 2 + 150; ++y)
        for (int x = kW / 2 - 200; x < kW / 2 + 200; ++x)
        {
            const size_t i = (static_cast<size_t>(kH - 1 - y) * kW + x) * 3;
            changed += (std::abs(with[i] - without[i]) + std::abs(with[i + 1] - without[i + 1]) +
                        std::abs(with[i + 2] - without[i + 2])) > 30;
        }
    EXPECT_GT(changed, 500) << world.modelFile << " should be visible";

    Screenshot("gfx_scene_pilot.png", with);

    // Looking into the sun draws the glare; it brightens the picture.
    world.sun.SetTimeOfDay(20.0f);
    world.view->setViewMatrixAsLookAt(osg::Vec3(0, 1.7f, 5),
                                      osg::Vec3(std::cos(0.349f) * 100, 1.7f + std::sin(0.349f) * 100, 5),
                                      osg::Vec3(0, 1, 0));
    for (int i = 0; i < 10; ++i)
        world.sunDrawer.DrawGlare(world.sun, world.view->getViewMatrix(), world.view->getProjectionMatrix(),
                                  CVector3(0, 1.7f, 5), world.sun.GetDirection(), 0.02f);
    EXPECT_NEAR(world.sun.GetGlare(), 0.5f, 1e-4);
    world.view->update();
    world.view->cull();
    world.view->draw();
    world.sunDrawer.DrawDisc(world.sun, world.view->getViewMatrix(), world.view->getProjectionMatrix(),
                             CVector3(0, 1.7f, 5));
    world.sunDrawer.DrawGlare(world.sun, world.view->getViewMatrix(), world.view->getProjectionMatrix(),
                              CVector3(0, 1.7f, 5), world.sun.GetDirection(), 0.02f);
    const TRgb centre = At(kW / 2, kH / 2);
    EXPECT_GT(centre.r + centre.g + centre.b, 450) << "the sun in the middle, under its glare";
    Screenshot("gfx_scene_sun.png");
}

TEST_F(SceneGlTest, TerrainShaderDrawsTheGroundAsTheFixedFunctionPipelineDoes)
{
    TWorld world(s_osgState);
    world.objects.Object(world.model)->SetVisible(false);
    world.sun.SetTimeOfDay(10.0f);
    world.Draw(0.02f);
    const std::vector<unsigned char> low = ReadWindow();
    world.sun.SetTimeOfDay(60.0f);
    world.Draw(0.02f);
    const std::vector<unsigned char> fixed = ReadWindow();
    // The file's own root, below the scene object's nodes of the same name.
    osg::Node* site = world.objects.Object(world.site)->GetTransformNode();
    while (site->asGroup() != nullptr && site->asGroup()->getNumChildren() == 1 && site->getStateSet() == nullptr)
        site = site->asGroup()->getChild(0);
    ASSERT_EQ(site->getName(), "FlyingSite");
    ASSERT_TRUE(ApplyTerrainShading(*site));
    world.Draw(0.02f);
    const std::vector<unsigned char> shaded = ReadWindow();

    const auto* terrain = FindNamedNode(*site, "terrain");
    const auto* program = dynamic_cast<const osg::Program*>(terrain->getStateSet()->getAttribute(osg::StateAttribute::PROGRAM));
    ASSERT_NE(program, nullptr);
    const osg::Program::PerContextProgram* linked = program->getPCP(*world.view->getState());
    ASSERT_TRUE(linked != nullptr && linked->isLinked()) << "the program did not link: the ground was drawn without it";
    // Per-vertex fog moves a channel by a step or two at most; the picture stays the same.
    size_t off = 0;
    for (size_t i = 0; i < fixed.size(); ++i)
        off += std::abs(fixed[i] - shaded[i]) > 3;
    EXPECT_LT(off, fixed.size() / 1000) << "channels more than 3 steps apart";
    // The near ground (the bottom 168 rows) is flat: its textures times 0.45 (0.1 + ambient) +
    // 0.78 diffuse sin(sun angle), from the light model, the site's material and the sun's
    // table, make it 0.914 / 0.373 = 2.45 times as bright with the sun at 60 degrees as at 10.
    // Normals gone wrong leave it dark or glaring in both.
    const auto nearGreen = [](const std::vector<unsigned char>& bottomUp) {
        double sum = 0.0;
        for (size_t i = 1; i < size_t{168} * kW * 3; i += 3)
            sum += bottomUp[i];
        return sum;
    };
    EXPECT_NEAR(nearGreen(fixed) / nearGreen(low), 2.45, 0.05) << "fixed-function pipeline";
    EXPECT_NEAR(nearGreen(shaded) / nearGreen(low), 2.45, 0.05) << "terrain shader";
    if (HasFailure())
        Screenshot("gfx_scene_terrain_fixed.png", fixed);
    Screenshot("gfx_scene_terrain_shader.png", shaded);
}

} // namespace
