// The 3D file, scene-object and scene registries, the placement of objects, the shadow, and
// the DOFTransform lookup and driving conventions. No GL context needed.

#include <gtest/gtest.h>

#include <cmath>

#include <osg/BlendFunc>
#include <osg/Geode>
#include <osg/MatrixTransform>
#include <osgDB/WriteFile>
#include <osgSim/DOFTransform>

#include "gfx/scene/CScene.h"
#include "gfx/scene/CSceneAdmin.h"
#include "gfx/scene/CSceneDofList.h"
#include "gfx/scene/CSceneObject.h"
#include "gfx/scene/CSceneObjectAdmin.h"
#include "gfx/scene/CSceneObject_Shadow.h"
#include "gfx/scene/CVdbObjectAdmin.h"
#include "model/CDegreeOfFreedom.h"
#include "support/TempDir.h"

namespace
{
constexpr float kPi = 3.14159265f;

std::string ShippedFolder(const char* folder)
{
    return (SourceDir() / folder).string() + "/";
}

void ExpectNear(const osg::Vec3& actual, const osg::Vec3& expected, const char* what)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1e-4) << what;
    EXPECT_NEAR(actual.y(), expected.y(), 1e-4) << what;
    EXPECT_NEAR(actual.z(), expected.z(), 1e-4) << what;
}

// Rows for a heading (rad, clockwise from -Z seen from above), level.
CMatrix3 Heading(float h)
{
    return CMatrix3::FromRows(CVector3(std::cos(h), 0, std::sin(h)), CVector3(0, 1, 0),
                              CVector3(-std::sin(h), 0, std::cos(h)));
}

TEST(VdbObjectAdmin, DummyIsEntryZeroAndStandsInForUnreadableFiles)
{
    CVdbObjectAdmin vdbs(ShippedFolder("Data/3D"));
    EXPECT_EQ(vdbs.FileName(0), "Dummy.osg");
    ASSERT_NE(vdbs.Node(0), nullptr);
    EXPECT_GT(vdbs.Node(0)->asGroup() ? vdbs.Node(0)->asGroup()->getNumChildren() : 1u, 0u) << "dummy loaded";

    for (const char* bad : {"NoSuchFile.osg", "", "../3D/Dummy.osg", "/etc/passwd"})
        EXPECT_EQ(vdbs.Load(bad), CVdbObjectAdmin::kDummyIndex) << bad;
    EXPECT_EQ(vdbs.SlotCount(), 1) << "failed loads add no entries";
}

TEST(VdbObjectAdmin, SameFileLoadsOnceAndIsFreedWithItsLastUser)
{
    CVdbObjectAdmin vdbs(ShippedFolder("Data/3D"));
    const int first = vdbs.Load("Wheel.osg");
    ASSERT_GT(first, 0);
    const osg::Node* node = vdbs.Node(first);
    EXPECT_EQ(vdbs.Load("wheel.OSG"), first) << "names compare case-insensitively";
    EXPECT_EQ(vdbs.Node(first), node) << "not read again";
    EXPECT_EQ(vdbs.RefCount(first), 2);

    vdbs.Release(first);
    EXPECT_TRUE(vdbs.IsValid(first)) << "the other user still holds it";
    vdbs.Release(first);
    EXPECT_FALSE(vdbs.IsValid(first));
    EXPECT_EQ(vdbs.Node(first), vdbs.Node(0)) << "a freed index shows the dummy, never null";

    // The freed slot is reused before the table grows; the dummy cannot be released.
    const int slots = vdbs.SlotCount();
    EXPECT_EQ(vdbs.Register("InMemory", new osg::Group), first);
    EXPECT_EQ(vdbs.SlotCount(), slots);
    vdbs.Release(0);
    EXPECT_TRUE(vdbs.IsValid(0));
    EXPECT_EQ(vdbs.Register("Null", nullptr), -1);
}

TEST(SceneObject, PlacementTurnsScalesAndOffsetsAroundThePlacedPoint)
{
    struct Row
    {
        const char* what;
        CVector3 position;
        float headingRad;
        float scale;
        CVector3 pivotOffset;
        osg::Vec3 objectPoint;
        osg::Vec3 expectedWorld;
    };
    const Row rows[] = {
        {"identity", {0, 0, 0}, 0, 1, {}, {1, 2, 3}, {1, 2, 3}},
        {"moved", {10, 1, -5}, 0, 1, {}, {1, 0, 0}, {11, 1, -5}},
        {"scale 2 is twice as large around the placed point", {10, 0, 0}, 0, 2, {}, {1, 0, 0}, {12, 0, 0}},
        // Heading 90 deg: the nose (-Z) points along +X, the right wing (+X) along +Z.
        {"turned", {0, 0, 0}, kPi / 2, 1, {}, {1, 0, 0}, {0, 0, 1}},
        {"turned nose", {0, 0, 0}, kPi / 2, 1, {}, {0, 0, -1}, {1, 0, 0}},
        // The offset turns with the object: (0, 0, -1) in object axes is +X in the world.
        {"offset turns with it", {5, 0, 0}, kPi / 2, 1, {0, 0, -1}, {0, 0, 0}, {6, 0, 0}},
        {"offset is not scaled", {0, 0, 0}, 0, 3, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}},
    };
    for (const Row& row : rows)
    {
        CSceneObject object("Test", 0, new osg::Group);
        object.SetScale(row.scale);
        object.SetPivotOffset(row.pivotOffset);
        object.SetPose(row.position, Heading(row.headingRad));
        ExpectNear(row.objectPoint * object.GetTransformNode()->getMatrix(), row.expectedWorld, row.what);
    }
}

TEST(SceneObject, RefusesScalesThatWouldHideOrInvertIt)
{
    CSceneObject object("Test", 0, new osg::Group);
    object.SetScale(2.0f);
    for (float bad : {0.0f, -1.0f, NAN, INFINITY})
        object.SetScale(bad);
    EXPECT_EQ(object.GetScale(), 2.0f);
}

class SceneAdminTest : public ::testing::Test
{
protected:
    SceneAdminTest() : vdbs(ShippedFolder("Data/3D")), objects(vdbs), scenes(objects) {}

    CVdbObjectAdmin vdbs;
    CSceneObjectAdmin objects;
    CSceneAdmin scenes;
};

TEST_F(SceneAdminTest, RemovingAnObjectLeavesAZeroEntryAndAddingAgainAppends)
{
    const int scene = scenes.Create("World");
    ASSERT_GT(scene, 0);
    const int a = objects.Create("A", vdbs.Load("Wheel.osg"));
    const int b = objects.Create("B", 0);
    ASSERT_TRUE(scenes.AddObject(scene, a));
    ASSERT_TRUE(scenes.AddObject(scene, b));
    CScene& s = *scenes.Scene(scene);
    EXPECT_EQ(s.GetRoot()->getNumChildren(), 2u);

    ASSERT_TRUE(scenes.RemoveObject(scene, a));
    EXPECT_EQ(s.GetObjectIndices(), (std::vector<int>{0, b}));
    EXPECT_EQ(s.GetRoot()->getNumChildren(), 1u);
    ASSERT_TRUE(scenes.AddObject(scene, a));
    EXPECT_EQ(s.GetObjectIndices(), (std::vector<int>{0, b, a}));

    EXPECT_FALSE(scenes.AddObject(scene, 999)) << "unknown object";
    EXPECT_FALSE(scenes.AddObject(77, a)) << "unknown scene";

    const osg::StateSet* state = s.GetRoot()->getStateSet();
    ASSERT_NE(state, nullptr);
    for (GLenum mode : {GLenum(GL_CULL_FACE), GLenum(GL_LIGHTING), GLenum(GL_DEPTH_TEST)})
        EXPECT_TRUE(state->getMode(mode) & osg::StateAttribute::ON) << mode;
}

TEST_F(SceneAdminTest, ObjectSlotsAreReusedAndTheDummyStays)
{
    EXPECT_EQ(objects.Object(0)->GetName(), "DummySceneObject");
    const int a = objects.Create("A", 0);
    const int b = objects.Create("B", 0);
    objects.Release(a);
    EXPECT_EQ(objects.Object(a), nullptr);
    EXPECT_EQ(objects.Create("C", 0), a);
    objects.Release(0);
    EXPECT_NE(objects.Object(0), nullptr);
    EXPECT_NE(objects.Object(b), nullptr);
}

TEST_F(SceneAdminTest, ShadowIsATexturedDarkeningQuadThatReleasesItsEntry)
{
    auto shadow = CSceneObject_Shadow::Create(vdbs, "SO_Shadow", "Shadow.png", false, ShippedFolder("Data/Textures"));
    EXPECT_TRUE(shadow->HasTexture());
    const int vdb = shadow->GetVdbIndex();
    ASSERT_GT(vdb, 0);
    EXPECT_EQ(vdbs.FileName(vdb), "Shadow.png");

    const osg::StateSet* state = vdbs.Node(vdb)->getStateSet();
    ASSERT_NE(state, nullptr);
    const auto* blend = dynamic_cast<const osg::BlendFunc*>(state->getAttribute(osg::StateAttribute::BLENDFUNC));
    ASSERT_NE(blend, nullptr);
    EXPECT_EQ(blend->getSource(), static_cast<GLenum>(GL_ZERO));
    EXPECT_EQ(blend->getDestination(), static_cast<GLenum>(GL_ONE_MINUS_SRC_COLOR));
    EXPECT_FALSE(state->getMode(GL_LIGHTING) & osg::StateAttribute::ON);

    // Heading 90 deg, pitch 60 deg: flat on the ground, half as long along the heading.
    shadow->SetScale(2.0f);
    shadow->PlaceOnGround(CVector3(3, 1, 4), kPi / 2, kPi / 3);
    const osg::Matrix& m = shadow->GetTransformNode()->getMatrix();
    ExpectNear(osg::Vec3(0, 0, -0.5f) * m, {3.5f, 1, 4}, "nose end: 0.5 * 2 * cos 60 along +X");
    ExpectNear(osg::Vec3(0.5f, 0, 0) * m, {3, 1, 5}, "right side: full width");

    shadow.reset();
    EXPECT_FALSE(vdbs.IsValid(vdb));

    // An unreadable texture gives a plain square.
    shadow = CSceneObject_Shadow::Create(vdbs, "SO_Shadow", "Missing.png", false, ShippedFolder("Data/Textures"));
    EXPECT_FALSE(shadow->HasTexture());
    EXPECT_GT(shadow->GetVdbIndex(), 0);
}

// A tree: root -> DOF "Aileron" -> transform -> DOF "NoseWheel"; and one more "Aileron".
osg::ref_ptr<osg::Group> DofTree()
{
    osg::ref_ptr<osg::Group> root = new osg::Group;
    auto* aileron = new osgSim::DOFTransform;
    aileron->setName("Aileron");
    auto* mid = new osg::MatrixTransform;
    auto* wheel = new osgSim::DOFTransform;
    wheel->setName("NoseWheel");
    auto* second = new osgSim::DOFTransform;
    second->setName("Aileron");
    root->addChild(aileron);
    aileron->addChild(mid);
    mid->addChild(wheel);
    root->addChild(second);
    return root;
}

TEST(SceneDofList, FindsDofTransformsByNameAnywhereInTheTree)
{
    osg::ref_ptr<osg::Group> root = DofTree();
    CSceneDofList list;
    list.Build(root.get());
    EXPECT_EQ(list.Count(), 3);
    ASSERT_NE(list.Find("NoseWheel"), nullptr);
    EXPECT_EQ(list.Find("Aileron"), root->getChild(0)) << "the first of equal names";
    EXPECT_EQ(list.Find("aileron"), nullptr) << "names compare exactly";
    EXPECT_EQ(list.Find("Rudder"), nullptr);
    list.Build(nullptr);
    EXPECT_EQ(list.Count(), 0);
}

TEST(SceneDofList, DrivesTheNodeInBodyAxesAboutItsHinge)
{
    // point: relative to the hinge, hinge frame
    // expected: relative to the hinge
    struct Row { const char* what; CVector3 hprRad; osg::Vec3 point; osg::Vec3 expected; };
    const float q = kPi / 2;
    const Row rows[] = {
        {"pitch turns +Y towards +Z: a trailing edge behind the hinge goes down", {0, q, 0}, {0, 0, 1}, {0, -1, 0}},
        {"heading turns about +Y (steering)", {q, 0, 0}, {1, 0, 0}, {0, 0, -1}},
        {"roll turns about +Z (propeller)", {0, 0, q}, {1, 0, 0}, {0, 1, 0}},
        // A steered wheel spins about its own turned axle: spin first, then steer.
        {"spin then steer", {q, q, 0}, {0, 1, 0}, {1, 0, 0}},
    };
    const osg::Vec3 hinge(1, 2, 3);
    for (const Row& row : rows)
    {
        osg::ref_ptr<osgSim::DOFTransform> node = new osgSim::DOFTransform; // scale 0 until driven
        node->setPutMatrix(osg::Matrix::translate(-hinge));
        node->setInversePutMatrix(osg::Matrix::translate(hinge));
        CDegreeOfFreedom dof("Part");
        dof.SetRotation(row.hprRad);
        CSceneDofList::Apply(dof, *node);
        osg::Matrix m;
        node->computeLocalToWorldMatrix(m, nullptr);
        ExpectNear((hinge + row.point) * m - hinge, row.expected, row.what);
        ExpectNear(hinge * m, hinge, "the hinge stays put");
    }
}
} // namespace
