#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/CMatrix3.h"
#include "core/Diagnostics.h"
#include "env/CFlyWorld.h"
#include "env/CWind.h"
#include "model/CModel.h"
#include "model/CPartServo.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"
#include "sim/CFlightSession.h"
#include "sim/SimTestSupport.h"
#include "support/DiagCapture.h"

namespace
{
using namespace sim_test;

constexpr float kDeg = 0.017453292519943295f;

class FlightSessionTest : public ::testing::Test
{
protected:
    void Load(const std::string& text)
    {
        dir.WriteModel("test.mod", text);
        ASSERT_TRUE(session.LoadModel("test.mod")) << session.GetLoadMessage();
        model = session.GetModel();
    }

    CSessionDir dir;
    CFlightSession session;
    CModel* model = nullptr;
};

TEST_F(FlightSessionTest, ResetPutsTheModelAtTheStartPose)
{
    Load(kDropModel);
    const struct { CVector3 position; float heading, pitch, roll; /* deg */ } poses[] = {
        {{-8.0f, 2.0f, -8.0f}, 135.2f, -8.4f, 0.0f}, // the site's second pose
        {{5.0f, 30.0f, 1.0f}, -60.0f, 10.0f, 25.0f}, // banked right, nose up
    };
    for (const auto& row : poses)
    {
        SCOPED_TRACE(row.heading);
        // Somewhere else, moving and spinning first.
        model->GetBody().SetPosition(CVector3(100.0f, 50.0f, 100.0f));
        model->GetBody().SetVelocity(CVector3(10.0f, -3.0f, 2.0f));
        model->GetBody().SetAngularVelocity(CVector3(1.0f, 2.0f, 3.0f));

        session.SetStartPose({row.position, row.heading, row.pitch, row.roll});
        session.ResetToStart();
        CEngineDynamic& body = model->GetBody();
        EXPECT_EQ(body.GetPosition(), row.position);
        EXPECT_TRUE(body.GetVelocity().IsZero() && body.GetAngularVelocity().IsZero());
        EXPECT_NEAR(body.GetHeading(), row.heading * kDeg, 1e-4f);
        EXPECT_NEAR(body.GetPitch(), row.pitch * kDeg, 1e-4f);
        EXPECT_NEAR(body.GetRoll(), row.roll * kDeg, 1e-4f);
        // The nose points where the heading and pitch say.
        const float h = row.heading * kDeg, p = row.pitch * kDeg;
        const CVector3 nose(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p));
        EXPECT_LT((CFlightSession::ForwardAxis(*model) - nose).Length(), 1e-5f);
    }
}

TEST_F(FlightSessionTest, NewModelStandsAtTheSiteStartAndAReloadKeepsTheMotion)
{
    Load(kDropModel);
    // Set down on its collision points at the site's start, not dropped from the pose's height.
    const CStartPose& start = session.GetStartPose();
    ASSERT_TRUE(session.IsStartOnGround());
    const CVector3 onGround(start.position.x, kDropRestHeight, start.position.z);
    EXPECT_EQ(model->GetBody().GetPosition(), onGround); // (standing there undamaged: the flight checks ground_*)

    const CMatrix3 banked = CMatrix3::FromEuler(0.3f, 0.2f, 0.1f);
    model->GetBody().SetPosition(CVector3(1.0f, 20.0f, 2.0f));
    model->GetBody().SetVelocity(CVector3(0.0f, 0.0f, -12.0f));
    model->GetBody().SetOrientation(banked);
    Load(kDropModel);
    EXPECT_EQ(model->GetBody().GetPosition(), CVector3(1.0f, 20.0f, 2.0f));
    EXPECT_EQ(model->GetBody().GetVelocity(), CVector3(0.0f, 0.0f, -12.0f));
    EXPECT_EQ(model->GetBody().GetOrientation(), banked);
}

// The site's start sets a model down with its lowest wheel or collision point on the ground,
// whatever its gear: a fixed start height dropped the glider and the delta and damaged them.
TEST_F(FlightSessionTest, GroundStartSetsTheLowestContactOnTheGround)
{
    // The start pose's pitch (deg) and the expected height (m) of the body origin on flat ground.
    const struct { const char* what; const char* model; float pitch, height; } rows[] = {
        {"collision points 0.1 m below", kDropModel, 0.0f, 0.1f},
        // Nose 0.4 m ahead, tail 0.4 m behind at -0.1: nose up 10 deg the tail is lowest.
        {"pitched: the tail point", kDropModel, 10.0f, 0.1f * std::cos(10.0f * kDeg) + 0.4f * std::sin(10.0f * kDeg)},
        {"simple wheel: point minus rest length",
         ".WHEEL W { .POSITION 0 -0.2 0 .REST_LENGTH 0.05 }\n.COLLISION_POINT Top { .POSITION 0 0.1 0 }\n", 0.0f, 0.25f},
        {"WHEEL3: hub minus radius and spring", ".WHEEL3 W { .POSITION 0.3 -0.1 0 .RADIUS 0.04 .SUSPENSION_SPRING_REST_LENGTH 0.03 }\n"
                                                ".COLLISION_POINT Belly { .POSITION 0 -0.15 0 }\n", 0.0f, 0.17f},
        {"no contact part: the pose's height", ".GRAVITY G { }\n", 0.0f, 0.4f},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.what);
        Load(row.model);
        CStartPose pose{{2.0f, 0.4f, -3.0f}, 30.0f, row.pitch, 0.0f};
        session.SetStartPose(pose, true);
        model->GetBody().SetVelocity(CVector3(1.0f, 2.0f, 3.0f));
        session.ResetToStart();
        CEngineDynamic& body = model->GetBody();
        EXPECT_LT((body.GetPosition() - CVector3(2.0f, row.height, -3.0f)).Length(), 1e-5f);
        EXPECT_EQ(body.GetVelocity(), CVector3());
        EXPECT_NEAR(body.GetPitch(), row.pitch * kDeg, 1e-4f);
        // (As an air start the pose keeps its height: ResetPutsTheModelAtTheStartPose.)
    }
}

TEST_F(FlightSessionTest, AltitudeAndUprightCommands)
{
    // Without a model the commands do nothing (and do not crash).
    session.SetAltitude100();
    session.SetAltitude500();
    session.RequestUpright();
    session.Step(kFrame);

    Load(kDropModel);
    model->GetBody().SetPosition(CVector3(12.0f, 3.0f, -7.0f));
    session.SetAltitude100();
    EXPECT_EQ(model->GetBody().GetPosition(), CVector3(12.0f, 100.0f, -7.0f));
    session.SetAltitude500();
    EXPECT_EQ(model->GetBody().GetPosition(), CVector3(0.0f, 500.0f, 0.0f));
    // The upright aid lasts one step.
    session.RequestUpright();
    EXPECT_TRUE(model->IsUpright());
    session.Step(kFrame);
    EXPECT_FALSE(model->IsUpright());
}

TEST_F(FlightSessionTest, PausedModelStaysStillWhileTheWindBlowsAndAnUprightRequestLapses)
{
    Load(kDropModel);
    session.SetWind(5.0f, 90.0f, 1.0f);
    session.SetAltitude500();
    const CVector3 held = model->GetBody().GetPosition();
    const CVector3 firstBlob = session.GetWind().GetBlob(0).centre;
    session.RequestUpright();
    for (int i = 0; i < 50; ++i)
        session.Step(kFrame, false);
    EXPECT_EQ(model->GetBody().GetPosition(), held);
    EXPECT_NE(session.GetWind().GetBlob(0).centre, firstBlob) << "the turbulence froze with the model";
    EXPECT_FALSE(model->IsUpright()) << "an upright request made in a pause fired on resuming";
}

TEST_F(FlightSessionTest, ChannelsReachThePartsThroughTheSearchList)
{
    // The model's own V_CH2 is hidden by the input channel of the same name.
    Load(".SERVO S { .VARIABLE V_CH2 .SPEED 0.01 }\n.VARIABLE V_CH2 { .VAL 0.9 }\n");
    auto* servo = static_cast<CPartServo*>(model->FindPart(PART_SERVO, "S"));
    ASSERT_NE(servo, nullptr);
    for (const float value : {0.5f, -1.0f, 0.0f, 1.0f})
    {
        session.SetChannel(1, value);
        session.Step(0.1f); // longer than the servo's full travel at SPEED 0.01
        EXPECT_FLOAT_EQ(servo->GetServoPosition(), value);
    }
    // Indices outside V_CH1 .. V_CH9 are ignored.
    session.SetChannel(9, 1.0f);
    session.SetChannel(-1, 1.0f);
    EXPECT_EQ(session.GetChannel(9), 0.0f);
}

TEST_F(FlightSessionTest, FailedLoadSaysWhyAndLeavesNoModel)
{
    const struct { const char* name; const char* expected; /* in the message */ } rows[] = {
        {"missing.mod", "missing.mod"},   // no such file
        {"../escape.mod", "escape.mod"},  // outside the model folder
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        Load(kDropModel);
        EXPECT_FALSE(session.LoadModel(row.name));
        EXPECT_FALSE(session.HasModel());
        EXPECT_NE(session.GetLoadMessage().find(row.expected), std::string::npos) << session.GetLoadMessage();
        session.Step(kFrame); // nothing to fly
    }
}

TEST_F(FlightSessionTest, LoadKeepsTheDiagnosticSinkInPlace)
{
    std::string seen;
    SetDiagnosticSink([&seen](const std::string& line) { seen += line; });
    EXPECT_FALSE(session.LoadModel("missing.mod"));
    DiagPrint("after\n");
    SetDiagnosticSink({});
    // The loader's line reached the sink once, and the sink is still the test's.
    EXPECT_EQ(seen, session.GetLoadMessage() + "\nafter\n");
}

TEST_F(FlightSessionTest, WindMovesWithTheModelAndSetsTheAirData)
{
    Load(kDropModel);
    session.SetWind(5.0f, 90.0f, 1.0f); // towards +X
    session.SetAltitude500();
    model->GetBody().SetPosition(CVector3(300.0f, 500.0f, -200.0f));
    Fly(session, 0.5f); // several blob changes
    EXPECT_NEAR(model->GetModelWind().x, 5.0f, 1e-4f);
    EXPECT_NEAR(model->GetModelWind().z, 0.0f, 1e-4f);
    // The blobs follow the model (ahead of it, Wind.NewBlobsAreSizedAndPlacedAheadOfTheModel).
    EXPECT_LT((session.GetWind().GetBlob(0).centre - model->GetBody().GetPosition()).Length(), 70.0f);
}

// The wings ask the model's wind field for the air at their points (WingTest); it is the
// session's wind with its rising air: over the strongest thermal, 300 m up, the air rises.
// (How strongly a thermal rises: ThermalField; that the glider climbs in such air: the flight
// check glider_glide measures its sink at 0.3 .. 0.8 m/s.)
TEST_F(FlightSessionTest, TheModelsWindFieldIsTheSessionsWindWithItsRisingAir)
{
    Load(kDropModel);
    session.SetThermals(3.0f, 80.0f, 2.0f);
    const auto& thermals = session.GetWind().GetThermals().GetThermals();
    ASSERT_FALSE(thermals.empty());
    const auto strongest = std::max_element(thermals.begin(), thermals.end(),
                                            [](const auto& a, const auto& b) { return a.strength < b.strength; });
    const CVector3 point(strongest->x, 300.0f, strongest->z);
    EXPECT_GT(model->GetWindField().GetWind(point).y, 1.0f);
    EXPECT_EQ(model->GetWindField().GetWind(point), session.GetWind().GetWindAt(point));
}

// --- The flying sites.

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
    // A caller's own hint gives the same heights and keeps the triangle for its next query.
    TTerrainHint hint;
    for (const float x : {300.0f, 301.0f, -250.0f})
        EXPECT_EQ(session.GetGroundHeight(x, -200.0f, hint), session.GetGroundHeight(x, -200.0f)) << x;
    EXPECT_GE(hint.current, 0);
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
