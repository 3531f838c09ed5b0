#include <filesystem>
#include <gtest/gtest.h>

#include "env/CFlyWorld.h"
#include "env/CWind.h"
#include "model/CModel.h"
#include "sim/SimTestSupport.h"
#include "support/DiagCapture.h"

namespace
{
using namespace sim_test;

// The square site at 5 m: loading reshapes it into a level plateau at 10 m.
constexpr float kPlateauHeight = 10.0f;

TEST(SiteSessionTest, DroppedModelComesToRestOnTheSiteTerrainOrOnFlatGroundAndKeepsItsDamageTotal)
{
    CSessionDir dir;
    ASSERT_TRUE(WriteSquareSite(dir.dir.Path() / "Data" / "3D" / "FlyingSite.osg", 5.0f));
    dir.WriteModel("drop.mod", kDropModel);
    CFlightSession session;
    ASSERT_TRUE(session.LoadSite()) << session.GetSiteError();
    EXPECT_FALSE(session.IsFlatGround());
    EXPECT_NEAR(session.GetGroundHeight(300.0f, -200.0f), kPlateauHeight, 1e-3f);
    ASSERT_TRUE(session.LoadModel("drop.mod")) << session.GetLoadMessage();

    const struct { bool flat; float restHeight; /* m */ } rows[] = {{false, kPlateauHeight + kDropRestHeight}, {true, kDropRestHeight}};
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
        EXPECT_LT((body.GetPosition() - CVector3(300.0f, row.restHeight, -200.0f)).Length(), 0.02f);
        EXPECT_LT(body.GetVelocity().Length() + body.GetAngularVelocity().Length(), 0.05f);
        // A 1 m fall is a hard landing: the per-message sum restarts a few seconds later, the total must not.
        EXPECT_EQ(session.GetModel()->GetDamageSum(), 0.0f);
        EXPECT_GT(session.GetModel()->GetDamageTotal(), 0.0f);
        CVector3 normal;
        EXPECT_NEAR(body.GetHeightAboveTerrain(normal), kDropRestHeight, 0.02f);
        // Over the site the queries go through the body's own hint, which names a triangle.
        EXPECT_TRUE(row.flat || body.GetTerrainHint().current >= 0);
    }
}

TEST(SiteSessionTest, EachSiteKeepsItsShapeItsCacheAndItsStart)
{
    // The height (m) at (300, -200): the field is reshaped, the slope is not.
    const struct { const char* site; const char* cache; float height; } rows[] = {
        {"FlyingSite", "Output/CacheCollision.tmp", kPlateauHeight},
        {"SlopeSite", "Output/CacheCollision_SlopeSite.tmp", 5.0f},
    };
    CSessionDir dir;
    std::filesystem::create_directories(dir.dir.Path() / "Output");
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.site);
        WriteSquareSite(dir.dir.Path() / "Data" / "3D" / (std::string(row.site) + ".osg"), 5.0f);
        CDiagCapture quiet;
        CFlightSession session;
        ASSERT_TRUE(session.LoadSite(row.site)) << session.GetSiteError();
        EXPECT_NEAR(session.GetGroundHeight(300.0f, -200.0f), row.height, 1e-3f);
        EXPECT_TRUE(std::filesystem::exists(dir.dir.Path() / row.cache));
        const TSiteInfo* info = CFlyWorld::FindSite(row.site);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(session.GetStartPose().position, info->start.position);
        // The slope of the site reaches the wind the model feels.
        EXPECT_NE(session.GetWind().GetSlopeLift(), nullptr);
        session.UseFlatGround(true);
        EXPECT_EQ(session.GetWind().GetSlopeLift(), nullptr);
    }
}

TEST(SiteSessionTest, MissingSiteIsReportedAndLeavesFlatGround)
{
    CSessionDir dir;
    CDiagCapture quiet;
    CFlightSession session;
    EXPECT_FALSE(session.LoadSite());
    EXPECT_FALSE(session.GetSiteError().empty());
    EXPECT_TRUE(session.IsFlatGround());
    EXPECT_EQ(session.GetGroundHeight(500.0f, 500.0f), 0.0f);
    EXPECT_FALSE(session.LoadSite("Moon"));
    EXPECT_NE(session.GetSiteError().find("Moon"), std::string::npos);
}
} // namespace
