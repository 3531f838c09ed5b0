#include <filesystem>

#include <gtest/gtest.h>
#include <osg/Geode>
#include <osg/Geometry>
#include <osgDB/WriteFile>

#include "core/Diagnostics.h"
#include "env/CFlyWorld.h"
#include "model/CModel.h"
#include "sim/CFlightSession.h"
#include "sim/SimTestSupport.h"

namespace fs = std::filesystem;

namespace
{
using namespace sim_test;

// A level plateau: two upward-facing triangles with corners (+-1000, 5, +-1000). Loading
// reshapes heights by (x^2 + z^2) / 1e6, so the corners end at 10 m and the plane with them.
constexpr float kPlateauHeight = 10.0f;

void WritePlateauSite(const fs::path& root)
{
    osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
    for (const osg::Vec3& v : {osg::Vec3(-1000, 5, -1000), osg::Vec3(-1000, 5, 1000), osg::Vec3(1000, 5, 1000),
                               osg::Vec3(-1000, 5, -1000), osg::Vec3(1000, 5, 1000), osg::Vec3(1000, 5, -1000)})
        vertices->push_back(v);
    osg::ref_ptr<osg::Geometry> geometry = new osg::Geometry;
    geometry->setVertexArray(vertices);
    geometry->addPrimitiveSet(new osg::DrawArrays(osg::PrimitiveSet::TRIANGLES, 0, 6));
    osg::ref_ptr<osg::Geode> terrain = new osg::Geode;
    terrain->setName("terrain");
    terrain->addDrawable(geometry);
    fs::create_directories(root / "Data" / "3D");
    ASSERT_TRUE(osgDB::writeNodeFile(*terrain, (root / "Data" / "3D" / "FlyingSite.osg").string()));
}

void Fly(CFlightSession& session, float seconds)
{
    for (float t = 0.0f; t < seconds; t += 1.0f / 60.0f)
        session.Step(1.0f / 60.0f);
}

TEST(SiteSessionTest, ModelLandsOnTheSiteTerrainOrOnFlatGround)
{
    CSessionDir dir;
    WritePlateauSite(dir.dir.Path());
    dir.WriteModel("drop.mod", kDropModel);
    CFlightSession session;
    ASSERT_TRUE(session.LoadSite()) << session.GetSiteError();
    EXPECT_FALSE(session.IsFlatGround());
    EXPECT_NEAR(session.GetGroundHeight(300.0f, -200.0f), kPlateauHeight, 1e-3f);
    ASSERT_TRUE(session.LoadModel("drop.mod")) << session.GetLoadMessage();

    const struct
    {
        bool flat;
        float restHeight; // m
    } rows[] = {{false, kPlateauHeight + kDropRestHeight}, {true, kDropRestHeight}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.flat);
        session.UseFlatGround(row.flat);
        CStartPose pose = session.GetStartPose();
        pose.position = CVector3(300.0f, row.restHeight + 1.0f, -200.0f);
        session.SetStartPose(pose);
        session.ResetToStart();
        Fly(session, 5.0f);
        CEngineDynamic& body = session.GetModel()->GetBody();
        EXPECT_NEAR(body.GetPosition().y, row.restHeight, 0.02f);
        CVector3 normal;
        EXPECT_NEAR(body.GetHeightAboveTerrain(normal), kDropRestHeight, 0.02f);
        // Over the site the queries go through the body's own hint, which names a triangle.
        if (!row.flat)
        {
            EXPECT_GE(body.GetTerrainHint().current, 0);
        }
    }
}

TEST(SiteSessionTest, MissingSiteIsReportedAndLeavesFlatGround)
{
    CSessionDir dir;
    SetDiagnosticSink([](const std::string&) {});
    CFlightSession session;
    EXPECT_FALSE(session.LoadSite());
    SetDiagnosticSink({});
    EXPECT_FALSE(session.GetSiteError().empty());
    EXPECT_TRUE(session.IsFlatGround());
    EXPECT_EQ(session.GetGroundHeight(500.0f, 500.0f), 0.0f);
}
} // namespace
