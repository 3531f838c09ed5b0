// The model as the scene shows it, end to end: a shipped model loaded with the presentation
// gets its 3D object bound to its degrees of freedom, placed at the body pose every frame, and
// its shadow laid on the ground below; the debug drawing collects the model's lines.

#include <gtest/gtest.h>

#include <osg/Geode>
#include <osgDB/WriteFile>
#include <osgSim/DOFTransform>

#include "env/CCollisionMesh.h"
#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneMarkers.h"
#include "gfx/scene/CSceneObject.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "gfx/scene/DebugDraw3D.h"
#include "gfx/scene/ModelPresentation.h"
#include "model/CModel.h"
#include "support/DataDir.h"

namespace
{
constexpr const char* kModel = "Trainer.mod";

class ModelPresentationTest : public ::testing::Test
{
protected:
    // The DOF names the shipped model's parts ask for, read headless.
    static std::vector<std::string> DofNames()
    {
        CModel model;
        EXPECT_TRUE(model.LoadModel(kModel));
        model.UpdateModel(0.01f);
        std::vector<std::string> names;
        for (int i = 0; i < model.GetDegreesOfFreedom().Count(); ++i)
            names.push_back(model.GetDegreesOfFreedom().At(i)->Name());
        return names;
    }

    // A stand-in for the model's 3D file with DOFTransform nodes of the given names, written
    // into the temporary 3D folder under the model file's 3D_MODEL_FILE name.
    void WriteObject(const std::string& file, const std::vector<std::string>& dofNames)
    {
        osg::ref_ptr<osg::Group> root = new osg::Group;
        for (const std::string& name : dofNames)
        {
            osg::ref_ptr<osgSim::DOFTransform> dof = new osgSim::DOFTransform;
            dof->setName(name);
            dof->setCurrentScale(osg::Vec3(1, 1, 1));
            dof->addChild(new osg::Geode);
            root->addChild(dof.get());
        }
        std::filesystem::create_directories(folder.Path() / "3D");
        ASSERT_TRUE(osgDB::writeNodeFile(*root, (folder.Path() / "3D" / file).string()));
    }

    DataDirAt shipped{SourceDir()};
    TempDir folder;
};

TEST_F(ModelPresentationTest, ObjectFollowsTheBodyDofsAreBoundAndTheShadowLiesOnTheGround)
{
    const std::vector<std::string> names = DofNames();
    ASSERT_GE(names.size(), 2u) << "the trainer moves control surfaces";
    // Every DOF but the last gets a node: the last stays unbound.
    WriteObject("Trainer.osg", std::vector<std::string>(names.begin(), names.end() - 1));

    CVdbObjectAdmin vdbs((folder.Path() / "3D").string() + "/");
    CSceneObjectAdmin objects(vdbs);
    CSceneAdmin scenes(objects);
    const int scene = scenes.Create("World");
    CModelPresentation presentation(objects, scenes, scene);
    CModelServices services;
    services.presentation = &presentation;
    {
        CModel model(services);
        ASSERT_TRUE(model.LoadModel(kModel));
        model.UpdateModel(0.01f);

        ASSERT_NE(presentation.GetObject(), nullptr);
        ASSERT_NE(presentation.GetShadow(), nullptr);
        EXPECT_EQ(vdbs.FileName(presentation.GetObject()->GetVdbIndex()), "Trainer.osg");
        EXPECT_EQ(scenes.Scene(scene)->GetRoot()->getNumChildren(), 2u) << "object and shadow";
        CDegreeOfFreedomList& dofs = model.GetDegreesOfFreedom();
        for (int i = 0; i < dofs.Count(); ++i)
            EXPECT_EQ(dofs.At(i)->IsBound(), dofs.At(i)->Name() != names.back()) << dofs.At(i)->Name();

        // A deflection written by a part reaches its node with the next frame.
        CDegreeOfFreedom* first = dofs.Find(names.front());
        ASSERT_NE(first, nullptr);
        model.GetBody().SetPosition(CVector3(3.0f, 7.0f, -2.0f));
        model.UpdateModel(0.01f);
        first->SetRotation(CVector3(0.0f, 0.25f, 0.0f));
        presentation.SetPose(model.GetBody().GetPosition(), model.GetBody().GetOrientation());
        const osgSim::DOFTransform* node = presentation.GetDofNodes().Find(names.front());
        ASSERT_NE(node, nullptr);
        EXPECT_FLOAT_EQ(node->getCurrentHPR()[1], 0.25f) << "pitch stays in osgSim's pitch slot";

        // Placed at the body pose (plus the turned 3D offset); the shadow below at the ground.
        const CVector3& p = model.GetBody().GetPosition();
        const CSceneObject& object = *presentation.GetObject();
        const osg::Vec3 origin = osg::Vec3() * object.GetTransformNode()->getMatrix();
        const CVector3 expected = p + object.GetPivotOffset() * model.GetBody().GetOrientation();
        EXPECT_NEAR(origin.x(), expected.x, 1e-4);
        EXPECT_NEAR(origin.y(), expected.y, 1e-4);
        EXPECT_NEAR(origin.z(), expected.z, 1e-4);
        const CSceneObject& shadow = *presentation.GetShadow();
        EXPECT_NEAR(shadow.GetPosition().y, 0.01f, 1e-5) << "flat null ground at 0";
        EXPECT_NEAR(shadow.GetPosition().x, p.x + shadow.GetPivotOffset().x * std::cos(model.GetHeading()) -
                                                 shadow.GetPivotOffset().z * std::sin(model.GetHeading()),
                    1e-3);

        // The debug drawing collects the parts' outlines and the force arrows.
        CDebugDraw3D draw;
        draw.BeginFrame();
        model.RenderDebug(draw, true, true);
        draw.EndFrame();
        EXPECT_GT(draw.GetLineCount(), 10);

        // Markers for the parts that have them (wheels, engine, servos, collision points).
        CSceneMarkers markers(objects, scenes, scene);
        const int count = markers.Create(model);
        EXPECT_GT(count, 3);
        EXPECT_EQ(scenes.Scene(scene)->GetRoot()->getNumChildren(), 2u + static_cast<unsigned>(count));
        markers.Clear(&model);
        EXPECT_EQ(scenes.Scene(scene)->GetRoot()->getNumChildren(), 2u);
        // The model goes: the flight process unloads the presentation with it.
        presentation.Unload();
    }
    EXPECT_EQ(scenes.Scene(scene)->GetRoot()->getNumChildren(), 0u);
    EXPECT_EQ(vdbs.SlotCount() > 1 && vdbs.IsValid(1), false) << "the model's file was released";
}

TEST(DebugDraw3D, CollisionMeshOutlineIsKeptAndOnlyTheHighlightIsRebuilt)
{
    CCollisionMesh mesh;
    // Two triangles sharing an edge, and a third far away.
    mesh.BuildFromTriangleList({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                                {50, 0, 50}, {51, 0, 50}, {50, 0, 51}});
    mesh.ComputeNeighbours();
    mesh.SetCurrentTriangle(0);
    CDebugDraw3D draw;
    draw.BeginFrame();
    draw.DrawCollisionMesh(mesh);
    draw.EndFrame();
    EXPECT_EQ(draw.GetMeshOutlineLineCount(), 9);
    EXPECT_EQ(draw.GetLineCount(), 6) << "the current triangle and its one neighbour";
    EXPECT_NE(draw.GetNode()->getChild(0)->getNodeMask(), 0u);

    draw.BeginFrame();
    draw.EndFrame();
    EXPECT_EQ(draw.GetLineCount(), 0);
    EXPECT_EQ(draw.GetNode()->getChild(0)->getNodeMask(), 0u) << "outline hidden when not drawn";
}
} // namespace
