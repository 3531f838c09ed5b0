#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/MatrixTransform>
#include <osgDB/WriteFile>

#include "data/CFile.h"
#include "env/CFlyWorld.h"
#include "env/GeneratedTerrain.h"
#include "env/TerrainGeometry.h"
#include "support/DataDir.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"
#include "support/TestSiteScene.h"

namespace fs = std::filesystem;

namespace
{
using test_site::MakeTriangleList;

// A node named "terrain" holding the given child (a geode of the drawable when one is given).
template <typename TNode> osg::ref_ptr<TNode> Terrain(osg::ref_ptr<TNode> node)
{
    node->setName("terrain");
    return node;
}
osg::ref_ptr<osg::Geode> Geode(osg::Drawable* drawable)
{
    osg::ref_ptr<osg::Geode> geode = new osg::Geode;
    geode->addDrawable(drawable);
    return geode;
}

// A flying site whose node "terrain" holds the triangle list split into tiles of `tileSize`
// triangles, one geode each, below some scenery that is not terrain.
osg::ref_ptr<osg::Group> MakeSite(const std::vector<CVector3>& vertices, size_t tileSize = 500)
{
    osg::ref_ptr<osg::Group> root = new osg::Group;
    root->addChild(Geode(MakeTriangleList({CVector3(0, 5, 0), CVector3(0, 9, 1), CVector3(1, 5, 0)}))); // trees
    osg::ref_ptr<osg::Group> terrain = Terrain(osg::ref_ptr<osg::Group>(new osg::Group));
    for (size_t first = 0; first < vertices.size(); first += tileSize * 3) {
        const size_t end = std::min(vertices.size(), first + tileSize * 3);
        terrain->addChild(Geode(MakeTriangleList(std::vector<CVector3>(vertices.begin() + first, vertices.begin() + end))));
    }
    root->addChild(terrain);
    return root;
}

class FlyWorldTest : public ::testing::Test
{
protected:
    void WriteSite(const osg::Node& root)
    {
        fs::create_directories(m_dir.Path() / "Data" / "3D");
        ASSERT_TRUE(osgDB::writeNodeFile(root, (m_dir.Path() / "Data" / "3D" / "FlyingSite.osg").string()));
    }
    std::string CachePath() const { return (m_dir.Path() / "Output" / "CacheCollision.tmp").string(); }

    TempDir m_dir;
    DataDirAt m_base{m_dir.Path()};
    CDiagCapture m_diag;
};

TEST(TerrainGeometryTest, ReshapeFlattensTheFieldAndKeepsTheHillsFarOut)
{
    const struct { float x, y, z, expected; } cases[] = {
        {0, 5, -1000, 5},    // unchanged at 1000 m in any direction (1000 m and 100 m along x: the load test)
        {0, 7, 0, 0},        // flat at the origin
        {2000, 1, 0, 4},     // quadrupled at 2000 m
        {-600, -10, 800, -10},
    };
    for (const auto& test : cases)
        EXPECT_FLOAT_EQ(ReshapedTerrainHeight(test.x, test.y, test.z), test.expected) << test.x << ", " << test.z;
}

TEST_F(FlyWorldTest, LoadReshapesTheSceneAndTheMeshAlikeAndCachesTheMesh)
{
    WriteSite(*MakeSite({CVector3(1000, 5, 0), CVector3(100, 5, 0), CVector3(100, 5, 100), CVector3(100, 5, 0),
                         CVector3(-50, 8, 0), CVector3(100, 5, 100)}, 1));
    CFlyWorld world;
    ASSERT_TRUE(world.LoadWorld()) << testing::PrintToString(m_diag.lines);
    EXPECT_FALSE(world.IsCacheLoaded());
    const CCollisionMesh& mesh = world.GetCollisionMesh();
    ASSERT_EQ(mesh.GetTriangleCount(), 2);
    EXPECT_FLOAT_EQ(mesh.GetTriangles()[0].a.y, 5.0f);
    EXPECT_FLOAT_EQ(mesh.GetTriangles()[0].b.y, 0.05f);
    EXPECT_FLOAT_EQ(mesh.GetTriangles()[1].b.y, 0.02f);
    EXPECT_EQ(mesh.GetTriangles()[0].neighbours, std::vector<int>{1});

    // What is drawn is what collides: the scene's own vertices were reshaped.
    osg::Node* terrain = FindNamedNode(*world.GetTerrainNode(), "terrain");
    ASSERT_NE(terrain, nullptr);
    const osg::Geometry* first = terrain->asGroup()->getChild(0)->asGroup()->getChild(0)->asGeometry();
    ASSERT_NE(first, nullptr);
    EXPECT_FLOAT_EQ((*static_cast<const osg::Vec3Array*>(first->getVertexArray()))[1].y(), 0.05f);

    EXPECT_TRUE(fs::exists(CachePath()));
    CFlyWorld again;
    ASSERT_TRUE(again.LoadWorld());
    EXPECT_TRUE(again.IsCacheLoaded()) << testing::PrintToString(m_diag.lines);
    CVector3 normal;
    // On the shared edge x = 100 halfway between heights 0.05 and 0.1.
    EXPECT_NEAR(again.GetTerrainHeight(100.0f, 50.0f, nullptr, normal), 0.075f, 1e-6f);
}

// The cache must follow the terrain: a changed flying site is rebuilt, not collided with as it
// was.
TEST_F(FlyWorldTest, ChangedTerrainRebuildsTheCache)
{
    std::vector<CVector3> vertices = testterrain::MakeTerrain(20, 20, 0, false);
    WriteSite(*MakeSite(vertices));
    CFlyWorld world;
    ASSERT_TRUE(world.LoadWorld()) << testing::PrintToString(m_diag.lines);
    ASSERT_FALSE(world.IsCacheLoaded());

    for (CVector3& v : vertices)
        v.y += 1.0f;
    WriteSite(*MakeSite(vertices));
    m_diag.lines.clear();
    ASSERT_TRUE(world.LoadWorld());
    EXPECT_FALSE(world.IsCacheLoaded());
    EXPECT_TRUE(m_diag.Contains("differs from the terrain")) << testing::PrintToString(m_diag.lines);
    const CVector3& v = vertices[0];
    // (the scene file stores the vertices as rounded text)
    EXPECT_NEAR(world.GetCollisionMesh().GetTriangles()[0].a.y, ReshapedTerrainHeight(v.x, v.y, v.z), 1e-5f);

    ASSERT_TRUE(world.LoadWorld());
    EXPECT_TRUE(world.IsCacheLoaded()) << testing::PrintToString(m_diag.lines);
}

TEST_F(FlyWorldTest, ShapesTheCollisionMeshCannotTakeAreRefused)
{
    auto withTerrain = [](osg::Node* child) {
        osg::ref_ptr<osg::Group> root = new osg::Group;
        osg::ref_ptr<osg::Group> terrain = Terrain(osg::ref_ptr<osg::Group>(new osg::Group));
        terrain->addChild(child);
        root->addChild(terrain);
        return root;
    };
    const std::vector<CVector3> square = {CVector3(0, 0, 0), CVector3(0, 0, 1), CVector3(1, 0, 0), CVector3(1, 0, 1)};

    osg::ref_ptr<osg::Geometry> indexed = MakeTriangleList(square);
    osg::ref_ptr<osg::DrawElementsUShort> indices = new osg::DrawElementsUShort(osg::PrimitiveSet::TRIANGLES);
    for (const unsigned short index : {0, 1, 2, 2, 1, 3})
        indices->push_back(index);
    indexed->setPrimitiveSet(0, indices);
    osg::ref_ptr<osg::Geometry> strip = MakeTriangleList(square);
    strip->setPrimitiveSet(0, new osg::DrawArrays(osg::PrimitiveSet::TRIANGLE_STRIP, 0, 4));
    osg::ref_ptr<osg::MatrixTransform> moved = new osg::MatrixTransform(osg::Matrix::translate(10, 0, 0));
    moved->addChild(Geode(MakeTriangleList(square)));
    osg::ref_ptr<osg::Group> unnamed = new osg::Group;
    unnamed->addChild(Geode(MakeTriangleList(square)));

    const struct { const char* what; osg::ref_ptr<osg::Node> site; const char* message; } cases[] = {
        {"indexed triangles", withTerrain(Geode(indexed.get())), "indexed"},
        {"triangle strip", withTerrain(Geode(strip.get())), "primitive mode 5"},
        {"moved by a transform", withTerrain(moved.get()), "world coordinates"},
        {"no node named terrain", unnamed, "no node named 'terrain'"},
    };
    for (const auto& test : cases) {
        WriteSite(*test.site);
        m_diag.lines.clear();
        CFlyWorld world;
        EXPECT_FALSE(world.LoadWorld()) << test.what;
        EXPECT_FALSE(world.IsValid()) << test.what;
        EXPECT_NE(world.GetLoadError().find(test.message), std::string::npos) << test.what << ": " << world.GetLoadError();
        EXPECT_TRUE(m_diag.Contains("FlyingSite.osg")) << test.what;
        CVector3 normal;
        EXPECT_EQ(world.GetTerrainHeight(0.5f, 0.2f, nullptr, normal), 0.0f) << test.what;
    }
}

// (A missing site: SiteSessionTest.MissingSiteIsReportedAndLeavesFlatGround.)
TEST_F(FlyWorldTest, UnreadableSiteLeavesTheWorldInvalid)
{
    CFlyWorld world;
    m_dir.Write("Data/3D/FlyingSite.osg", "this is not a scene {{{");
    EXPECT_FALSE(world.LoadWorld());
    EXPECT_FALSE(world.IsValid());
    EXPECT_EQ(world.GetTerrainNode(), nullptr);
}

TEST_F(FlyWorldTest, VerticesSharedBetweenGeometriesAreReshapedOnce)
{
    osg::ref_ptr<osg::Geometry> first = MakeTriangleList({CVector3(100, 5, 0), CVector3(100, 5, 100), CVector3(200, 5, 0)});
    osg::ref_ptr<osg::Geometry> second = new osg::Geometry;
    second->setVertexArray(first->getVertexArray());
    second->addPrimitiveSet(new osg::DrawArrays(osg::PrimitiveSet::TRIANGLES, 0, 3));
    osg::ref_ptr<osg::Geode> tile = Geode(first);
    tile->addDrawable(second);
    osg::ref_ptr<osg::Group> terrain = Terrain(osg::ref_ptr<osg::Group>(new osg::Group));
    terrain->addChild(tile);
    // Write and read so that the file's own sharing is what is tested.
    WriteSite(*terrain);
    CFlyWorld world;
    ASSERT_TRUE(world.LoadWorld()) << testing::PrintToString(m_diag.lines);
    ASSERT_EQ(world.GetCollisionMesh().GetTriangleCount(), 2);
    for (const CColTriangle& triangle : world.GetCollisionMesh().GetTriangles())
        EXPECT_FLOAT_EQ(triangle.a.y, 0.05f);
}

// Lighting follows the reshaped ground: per-vertex normals are turned with the surface.
TEST_F(FlyWorldTest, PerVertexNormalsFollowTheReshape)
{
    // A plane rising 1 cm per metre towards +X; its normal leans towards -X.
    const std::vector<CVector3> vertices = {CVector3(1000, 10, 0), CVector3(1000, 10, 10), CVector3(1010, 10.1f, 0),
                                            CVector3(0, 0, 0), CVector3(0, 0, 10), CVector3(10, 0.1f, 0)};
    osg::ref_ptr<osg::Geometry> geometry = MakeTriangleList(vertices);
    osg::Vec3 normal(-0.01f, 1.0f, 0.0f);
    normal.normalize();
    osg::ref_ptr<osg::Vec3Array> normals = new osg::Vec3Array(osg::Array::BIND_PER_VERTEX);
    normals->resize(vertices.size(), normal);
    geometry->setNormalArray(normals, osg::Array::BIND_PER_VERTEX);
    WriteSite(*Terrain(Geode(geometry)));
    CFlyWorld world;
    ASSERT_TRUE(world.LoadWorld()) << testing::PrintToString(m_diag.lines);
    const osg::Geometry* loaded = world.GetTerrainNode()->asGroup() == nullptr
                                      ? nullptr
                                      : world.GetTerrainNode()->asGroup()->getChild(0)->asGeometry();
    ASSERT_NE(loaded, nullptr);
    const osg::Vec3Array* reshaped = dynamic_cast<const osg::Vec3Array*>(loaded->getNormalArray());
    ASSERT_NE(reshaped, nullptr);
    // At (1000, 10, 0) the slope is 0.01 (kept, factor 1) plus 10 * 2 * 1000 / 1e6 = 0.02 from
    // the factor growing outwards; at the origin the ground is flat.
    osg::Vec3 far(-0.03f, 1.0f, 0.0f), near(0.0f, 1.0f, 0.0f);
    far.normalize();
    EXPECT_NEAR(((*reshaped)[0] - far).length(), 0.0f, 1e-5f);
    EXPECT_NEAR(((*reshaped)[3] - near).length(), 0.0f, 1e-6f);
}

} // namespace
