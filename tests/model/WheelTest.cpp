// Wheels: the WHEEL3 suspension, its airborne threshold, the skid hysteresis, the damper
// clamp, the cornering tyre, a trainer braking on three wheels, and the simple WHEEL.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "AeroTestSupport.h"
#include "GroundTestSupport.h"
#include "ModelTestSupport.h"
#include "model/CPartWheel.h"
#include "model/CPartWheel3.h"
#include "model/PartClassTable.h"

using namespace ground_test;

namespace
{

std::string Wheel3(const std::string& name, const std::string& position, const std::string& extra = "",
                   const std::string& torque = "V_ZERO", const std::string& steering = "V_ZERO",
                   const std::string& brake = "V_ZERO")
{
    return ".WHEEL3 " + name + " {\n .POSITION " + position + " .STEERING_VARIABLE " + steering + " .VARIABLE_TORQUE " +
           torque + " .VARIABLE_BRAKE " + brake + "\n" + extra + "}\n";
}

class WheelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fixture.services.terrain = &terrain;
        fixture.services.sounds = &sounds;
        fixture.Input("V_ZERO", 0.0f);
        fixture.Input("V_STEER", 0.0f); // the nose wheel's steering (flown by the flight check trainer_crosswind)
        brake = fixture.Input("V_BRAKE", 0.0f);
        torque = fixture.Input("V_TORQUE", 0.0f);
    }

    void Load(const std::string& text)
    {
        model = fixture.Load(text);
        ASSERT_TRUE(fixture.loaded);
        terrain.bodyHint = &model->GetBody().GetTerrainHint();
        model->UpdateModel(0.0f); // links and weighs
    }

    CPartWheel3* Wheel(const char* name) { return dynamic_cast<CPartWheel3*>(model->FindPart(PART_WHEEL3, name)); }

    // A trainer on a steerable nose wheel and two braked main wheels, each carrying a third of
    // the weight: springs of 1000 N/m, 5 cm travel, wheels of the default 0.18 m radius.
    void LoadTricycle(const std::string& moreGearKeys = "")
    {
        const std::string gear = " .SUSPENSION_SPRING_REST_LENGTH 0.05 .SUSPENSION_SPRINGINESS 1000"
                                 " .SUSPENSION_DAMPING_LIN 40 .SUSPENSION_DAMPING_SQ 20\n" + moreGearKeys;
        Load(std::string(kTrainerMass) + Wheel3("NoseWheel", "0 -0.1 -0.3", gear, "V_ZERO", "V_STEER") +
             Wheel3("LeftWheel", "-0.25 -0.1 0.15", gear, "V_TORQUE", "V_ZERO", "V_BRAKE") +
             Wheel3("RightWheel", "0.25 -0.1 0.15", gear, "V_TORQUE", "V_ZERO", "V_BRAKE"));
    }

    // The tricycle settled on its springs, then set moving.
    void SettleTricycle(const CVector3& velocity, const std::string& moreGearKeys = "")
    {
        LoadTricycle(moreGearKeys);
        PlaceBody(model->GetBody(), CVector3(0, TricycleRestHeight(), 0));
        RunFrames(*model, 50);
        PlaceBody(model->GetBody(), model->GetBody().GetPosition(), velocity);
    }
    // The settled tricycle rolling forwards at speed for a number of frames.
    void RollTricycle(float speed, int frames)
    {
        SettleTricycle(CVector3(0, 0, -speed));
        RunFrames(*model, frames);
    }

    // Body height at which the springs carry the weight: hub height = travel + radius -
    // weight / 3 / rate, and the hubs sit 0.1 m below the body origin.
    static float TricycleRestHeight()
    {
        return 0.1f + 0.05f + 0.18f - kTrainerMassKg * kGravity / 3.0f / 1000.0f;
    }

    CFlatTerrain terrain;
    CCountingSounds sounds;
    CModelFixture fixture;
    std::unique_ptr<CModel> model;
    CVariable* brake = nullptr;
    CVariable* torque = nullptr;
};
} // namespace

TEST_F(WheelTest, AirborneOnlyAboveTravelPlusRadiusAndTheDamperIsClamped)
{
    // Travel 0.5 + radius 0.25 = 0.75 m, exact in binary.
    Load(Wheel3("W", "0 0 0", " .RADIUS 0.25\n .SUSPENSION_SPRING_REST_LENGTH 0.5\n"));
    CPartWheel3* wheel = Wheel("W");
    ASSERT_TRUE(wheel->IsLinked());
    // Above the ground's ceiling (here the ground itself) by more than that, the wheel does not ask.
    struct TRow { float height; bool airborne; float compression; } rows[] = {
        {0.75f, false, 0.0f},                              // exactly at the threshold: on the ground
        {std::nextafter(0.75f, 1.0f), true, 0.0f},         // a hair above: airborne, without asking
        {0.70f, false, 0.05f},
        {0.25f, false, 0.5f},                              // full travel
    };
    for (const TRow& row : rows)
    {
        SCOPED_TRACE(row.height);
        PlaceBody(model->GetBody(), CVector3(0, row.height, 0));
        const int queries = terrain.partQueries;
        wheel->CalcForces(0.005f);
        EXPECT_EQ(wheel->IsAirborne(), row.airborne);
        EXPECT_EQ(terrain.partQueries - queries, row.airborne ? 0 : 1);
        EXPECT_NEAR(wheel->GetCompression(), row.compression, 1e-6f);
        EXPECT_NEAR(wheel->GetForce(CPartWheel3::kSpring).vector.y, 300.0f * row.compression, 1e-4f);
    }

    // At the threshold (no spring force) the damper alone, never more than five newtons.
    struct TDamperRow { float verticalSpeed, damper; } damperRows[] = {
        {-10.0f, 5.0f},  // hitting the ground hard: clamped
        {-0.1f, 2.2f},   // -(20 * -0.1 + 20 * -0.1 * 0.1)
        {0.05f, -1.05f}, // extending: pulls down
        {10.0f, -5.0f},
    };
    for (const TDamperRow& row : damperRows)
    {
        PlaceBody(model->GetBody(), CVector3(0, 0.75f, 0), CVector3(0, row.verticalSpeed, 0));
        wheel->CalcForces(0.005f);
        EXPECT_NEAR(wheel->GetForce(CPartWheel3::kSpring).vector.y, row.damper, 1e-4f) << row.verticalSpeed;
    }

    // In the air the hub velocity is worked out another way: the same as on the ground, for a
    // turned wheel on a tilted, turning body.
    Load(Wheel3("W", "0.3 -0.1 0.2", " .RADIUS 0.25\n .SUSPENSION_SPRING_REST_LENGTH 0.5\n .HEADING 30\n"));
    CVector3 hub[2];
    for (int k = 0; k < 2; ++k)
    {
        PlaceBody(model->GetBody(), CVector3(0, k ? 9.0f : 0.7f, 0), CVector3(3, -1, 7));
        model->GetBody().SetOrientation(CMatrix3::FromAxisAngle(CVector3(0.6f, 0.8f, 0), 0.7f));
        model->GetBody().SetAngularVelocity(CVector3(0.5f, -1, 2));
        Wheel("W")->CalcForces(0.005f);
        EXPECT_EQ(Wheel("W")->IsAirborne(), k == 1);
        hub[k] = Wheel("W")->GetHubVelocity();
    }
    aero_test::ExpectNear(hub[1], hub[0], 1e-5f, "hub velocity");
    EXPECT_GT(std::fabs(hub[0].x), 1.0f);
}

TEST_F(WheelTest, SkidStateHasHysteresis)
{
    // The ground's slope under a still wheel: the spring then pushes along the ground with
    // tan(slope) times its normal push, and nothing else acts.
    Load(Wheel3("W", "0 0 0", " .RADIUS 0.25 .SUSPENSION_SPRING_REST_LENGTH 0.5 .STATIC_FRICTION 0.5 .DYNAMIC_FRICTION 0.2\n"));
    CPartWheel3* wheel = Wheel("W");
    PlaceBody(model->GetBody(), CVector3(0, 0.5f, 0));
    struct TRow { float ratio; /* tangential / normal */ bool skidding; const char* what; } rows[] = {
        {0.1f, false, "gripping"},
        {0.3f, false, "between the limits: still gripping"},
        {0.6f, true, "above static friction: skids"},
        {0.3f, true, "between the limits: still skidding"},
        {0.1f, false, "below dynamic friction: grips again"},
    };
    for (const TRow& row : rows)
    {
        terrain.normal = CVector3(row.ratio, 1.0f, 0.0f).Normalized();
        wheel->CalcForces(0.005f);
        EXPECT_EQ(wheel->IsSkidding(), row.skidding) << row.what;
        const CVector3 net = wheel->GetForce(CPartWheel3::kSpring).vector + wheel->GetForce(CPartWheel3::kSkid).vector;
        const CVector3 spring = wheel->GetForce(CPartWheel3::kSpring).vector;
        // While skidding the ground takes only dynamic friction times the normal push.
        const float expected = row.skidding ? 0.2f * spring.y : spring.x;
        EXPECT_NEAR(net.x, expected, 1e-3f) << row.what;
        EXPECT_NEAR(net.y, spring.y, 1e-4f) << row.what;
    }
}

TEST_F(WheelTest, MissingVariableMeansNoForceAtAll)
{
    CDiagCapture diag;
    Load(Wheel3("W", "0 0 0", "", "V_ZERO", "V_ZERO", "V_NONE"));
    CPartWheel3* wheel = Wheel("W");
    EXPECT_FALSE(wheel->IsLinked());
    PlaceBody(model->GetBody(), CVector3(0, 0.1f, 0)); // deep in its travel
    wheel->CalcForces(0.005f);
    for (int i = 0; i < wheel->GetForceCount(); ++i)
        EXPECT_TRUE(wheel->GetForce(i).vector.IsZero()) << wheel->GetForce(i).name;
    EXPECT_TRUE(diag.Contains("VARIABLE_BRAKE 'V_NONE' is no variable"));
}

// (Without the brake it rolls on, slowed by its rolling resistance: the flight checks trainer_taxi,
// trainer_takeoff_run and parked_trainer.)
TEST_F(WheelTest, BrakesStopARollingTrainer)
{
    RollTricycle(5.0f, 25); // the wheels spin up
    brake->SetValue(1.0f);
    RunFrames(*model, 100); // 2 s
    EXPECT_LT(model->GetBody().GetVelocity().Length(), 0.1f) << "stopped, rocking a little on the tyres";
}

TEST_F(WheelTest, AWheelThatSkidsSidewaysIsPulledBackToWhereTheSkidBegan)
{
    // Set down sliding sideways at 2 m/s (a landing with drift): the tyres skid, the model slides
    // on and stops. A lateral deflection that kept growing through the skid pulled it back.
    SettleTricycle(CVector3(2.0f, 0, 0));
    bool skidded = false;
    float lowest = 0.0f, furthest = 0.0f;
    for (int frame = 0; frame < 150; ++frame) // 3 s
    {
        RunFrames(*model, 1);
        skidded = skidded || Wheel("LeftWheel")->IsSkidding();
        lowest = std::min(lowest, model->GetBody().GetVelocity().x);
        furthest = std::max(furthest, model->GetBody().GetPosition().x);
    }
    EXPECT_TRUE(skidded);
    // As the tyres grip again the body rocks on its springs (a few cm/s); it must not travel back.
    EXPECT_GT(lowest, -0.05f) << "the sideways velocity changed sign";
    EXPECT_LT(std::fabs(model->GetBody().GetVelocity().x), 0.01f);
    EXPECT_GT(model->GetBody().GetPosition().x, 0.1f);
    EXPECT_GT(model->GetBody().GetPosition().x, furthest - 0.005f) << "pulled back towards the touchdown line";
}

TEST_F(WheelTest, CorneringStiffnessGivesTheSideForceOfARollingTyre)
{
    // CORNERING_STIFFNESS 5 on 15 N of load (300 N/m x 5 cm) and the default stringiness 500 N/m:
    // the patch relaxes over sigma = 5 * 15 / 500 = 0.15 m of rolling, so the side force settles
    // at C N tan(slip) = 7.5 N for a slip of tan 0.1, plus the damper 500 * 0.1 s * v faded by
    // (sigma / (sigma + V 0.1 s))^2:
    //   V 2 m/s, v 0.2 m/s: 7.5 + 10 * (0.15 / 0.35)^2 = 9.336735 N
    //   V 10 m/s, v 1 m/s: 7.5 + 50 * (0.15 / 1.15)^2 = 8.350662 N
    struct Row { float along, side, force; };
    for (const Row& row : {Row{2.0f, 0.2f, 9.336735f}, Row{10.0f, 1.0f, 8.350662f}})
    {
        Load(Wheel3("W", "0 0 0", " .RADIUS 0.25\n .SUSPENSION_SPRING_REST_LENGTH 0.5\n .CORNERING_STIFFNESS 5\n"));
        CPartWheel3* wheel = Wheel("W");
        PlaceBody(model->GetBody(), CVector3(0, 0.7f, 0), CVector3(row.side, 0, -row.along));
        for (int step = 0; step < 800; ++step)
            wheel->CalcForces(0.005f);
        EXPECT_FALSE(wheel->IsSkidding());
        EXPECT_NEAR(wheel->GetForce(CPartWheel3::kLateral).vector.x, -row.force, 1e-3f) << "V " << row.along;
    }
}

// --- The simple wheel.

TEST_F(WheelTest, SimpleWheelIgnoresTheGroundWhileTheBodyIsHigh)
{
    Load(".WHEEL Long { .POSITION 0 -3 0 .REST_LENGTH 0.5 }\n");
    CPartWheel* wheel = dynamic_cast<CPartWheel*>(model->FindPart(PART_WHEEL, "Long"));
    ASSERT_NE(wheel, nullptr);
    PlaceBody(model->GetBody(), CVector3(0, 2.5f, 0)); // the wheel is 0.5 m in the ground
    terrain.partQueries = 0;
    wheel->CalcForces(0.005f);
    EXPECT_TRUE(wheel->GetForce(0).vector.IsZero());
    EXPECT_EQ(terrain.partQueries, 0);
    EXPECT_LT(wheel->GetGroundHeight(), -1e30f);
}

TEST_F(WheelTest, SimpleWheelForcesAgainstHandValues)
{
    // 5 cm of travel at 500 N/m, contact point 3 cm above the ground: F = 10 N.
    Load(".WHEEL W { .REST_LENGTH 0.05 }\n");
    CPartWheel* wheel = dynamic_cast<CPartWheel*>(model->FindPart(PART_WHEEL, "W"));
    ASSERT_NE(wheel, nullptr);
    struct TRow { CVector3 velocity, reaction; const char* what; } rows[] = {
        {CVector3(0, -1, 0), CVector3(0, 10, 0), "sinking: the full spring"},
        {CVector3(0, 0.1f, 0), CVector3(0, 9.5f, 0), "rising: less 10 v DAMPING F"},
        {CVector3(0, 1, 0), CVector3(0, 9, 0), "rising fast: at most 2 DAMPING F less"},
        {CVector3(0, 0, 0.1f), CVector3(0, 10, -0.75f), "slow slide: STATIC_FRICTION"},
        {CVector3(0, 0, -1), CVector3(0, 10, 3.2f), "fast slide: DYNAMIC_FRICTION"},
    };
    for (const TRow& row : rows)
    {
        PlaceBody(model->GetBody(), CVector3(0, 0.03f, 0), row.velocity);
        wheel->CalcForces(0.005f);
        aero_test::ExpectNear(wheel->GetForce(0).vector, row.reaction, 1e-4f, row.what);
    }
    EXPECT_EQ(sounds.touches, 1) << "once, on touching down";
}
