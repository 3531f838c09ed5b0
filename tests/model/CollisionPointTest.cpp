// Collision points: the penalty force against hand values, the contact load as damage or rest,
// the crash sound's spacing, no terrain query far above the ground, static friction holding
// and then sliding.

#include <gtest/gtest.h>

#include <string>

#include "AeroTestSupport.h"
#include "GroundTestSupport.h"
#include "ModelTestSupport.h"
#include "model/CPartCollisionPoint.h"
#include "model/CStiction.h"
#include "model/PartClassTable.h"

using namespace ground_test;

namespace
{
class CollisionPointTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fixture.services.terrain = &terrain;
        fixture.services.sounds = &sounds;
        fixture.services.messages = &messages;
    }

    // The point on the body origin of a 2.7 kg model.
    void LoadPoint(const std::string& keys = "")
    {
        model = fixture.Load(std::string(kTrainerMass) + ".COLLISION_POINT P { " + keys + " }\n");
        ASSERT_TRUE(fixture.loaded);
        terrain.bodyHint = &model->GetBody().GetTerrainHint();
        model->UpdateModel(0.0f);
        point = dynamic_cast<CPartCollisionPoint*>(model->FindPart(PART_COLLISION_POINT, "P"));
        ASSERT_NE(point, nullptr);
    }

    CFlatTerrain terrain;
    CCountingSounds sounds;
    CRecordingMessages messages;
    CModelFixture fixture;
    std::unique_ptr<CModel> model;
    CPartCollisionPoint* point = nullptr;
};
} // namespace

TEST_F(CollisionPointTest, PenaltyForceAgainstHandValues)
{
    LoadPoint();
    struct TRow { float depth; /* m below the ground */ CVector3 velocity, force; const char* what; } rows[] = {
        {0.01f, CVector3(0, 0, 0), CVector3(0, 4.9f, 0), "1 cm deep at rest: 490 N/m"},
        {0.01f, CVector3(1, 0, 0), CVector3(-4.0f, 4.9f, 0), "sliding at 1 m/s: 2 (s + s^2) = 4 N"},
        {0.001f, CVector3(0, 0, -1), CVector3(0, 0.49f, 1.372f), "1 mm deep: friction limited to 2.8 N"},
        {0.01f, CVector3(0, -1, 0), CVector3(0, 4.9f, 0), "sinking: no damping"},
        {0.01f, CVector3(0, 1, 0), CVector3(0, 4.9f - 3.675f, 0), "separating at 1 m/s: -0.75 v N"},
        {0.01f, CVector3(0, 2, 0), CVector3(0, 0, 0), "separating fast: damping at most N"},
        {-0.01f, CVector3(0, -1, 0), CVector3(0, 0, 0), "above the ground"},
    };
    for (const TRow& row : rows)
    {
        PlaceBody(model->GetBody(), CVector3(0, -row.depth, 0), row.velocity);
        point->CalcForces(0.005f);
        aero_test::ExpectNear(point->GetForce(0).vector, row.force, 1e-4f, row.what);
        EXPECT_EQ(point->IsInContact(), row.depth > 0.0f) << row.what;
    }
}

TEST_F(CollisionPointTest, StaticFrictionHoldsUntilMuNThenSlides)
{
    LoadPoint(".STATIC_FRICTION 1");
    // 1 cm deep: N = 4.9 N; the hold is a spring of N / 5 mm from where the point touched down.
    // The body moved along X (m), at rest, depth (m) below the ground, force (N) along X.
    struct TRow { float x, depth, force; const char* what; } rows[] = {
        {0.0f, 0.01f, 0.0f, "touches down: anchored here"},
        {0.002f, 0.01f, -1.96f, "pushed 2 mm: held by 0.4 mu N"},
        {0.010f, 0.01f, -4.9f, "pushed 1 cm: slides at mu N, the anchor dragged to 5 mm"},
        {0.005f, 0.01f, 0.0f, "back 5 mm: on the dragged anchor"},
        {0.02f, -0.01f, 0.0f, "lifted clear: the anchor is let go"},
        {0.02f, 0.01f, 0.0f, "down again 15 mm further: anchored afresh"},
    };
    for (const TRow& row : rows)
    {
        PlaceBody(model->GetBody(), CVector3(row.x, -row.depth, 0));
        point->CalcForces(0.005f);
        EXPECT_NEAR(point->GetForce(0).vector.x, row.force, 1e-3f) << row.what;
    }

    // A wheel's side grip holds only along its axle: it rolls on freely, and a later turn of the
    // model does not swing the distance rolled onto the axle.
    CStiction axle;
    struct TAxleRow { CVector3 point, axle, force; const char* what; } axleRows[] = {
        {{}, {1, 0, 0}, {}, "anchored"},
        {{0, 0, -0.3f}, {1, 0, 0}, {}, "rolled 30 cm across the axle"},
        {{0.002f, 0, -0.3f}, {1, 0, 0}, {-1.96f, 0, 0}, "pushed 2 mm along it"},
        {{0.002f, 0, -0.3f}, {0, 0, 1}, {}, "turned a quarter: nothing rolled is held"},
    };
    for (const TAxleRow& row : axleRows)
        aero_test::ExpectNear(axle.Hold(row.point, CVector3(), 4.9f, 1.0f, row.axle), row.force, 1e-3f, row.what);
}

TEST_F(CollisionPointTest, ContactLoadIsDamageOnlyAboveOneMeterPerSecond)
{
    LoadPoint();
    struct TRow { float speed; /* m/s, sliding */ bool damage; } rows[] = {{0.5f, false}, {0.99f, false}, {1.01f, true}, {3.0f, true}};
    for (const TRow& row : rows)
    {
        const float damageBefore = model->GetDamageSum();
        const float restBefore = model->GetRestSum();
        PlaceBody(model->GetBody(), CVector3(0, -0.02f, 0), CVector3(row.speed, 0, 0));
        point->CalcForces(0.005f);
        // L = |force| / (g m): the force in multiples of the model's weight.
        const float load = point->GetForce(0).vector.Length() * 0.101936795f / kTrainerMassKg;
        EXPECT_NEAR(point->GetLastLoad(), load, 1e-6f);
        EXPECT_NEAR(model->GetDamageSum() - damageBefore, row.damage ? load : 0.0f, 1e-6f) << row.speed;
        EXPECT_NEAR(model->GetRestSum() - restBefore, row.damage ? 0.0f : load, 1e-6f) << row.speed;
    }
}

TEST_F(CollisionPointTest, NoTerrainQueryOutOfReach)
{
    LoadPoint(".POSITION 0.8 0 0");
    // Reach |POSITION| + 0.2 = 1.0 m.
    PlaceBody(model->GetBody(), CVector3(0, 1.0f, 0));
    terrain.partQueries = 0;
    point->CalcForces(0.005f);
    EXPECT_EQ(terrain.partQueries, 0);
    PlaceBody(model->GetBody(), CVector3(0, 0.99f, 0));
    point->CalcForces(0.005f);
    EXPECT_EQ(terrain.partQueries, 1);
}

TEST_F(CollisionPointTest, OneCrashSoundPerFourTenthsOfASecond)
{
    LoadPoint();
    auto touch = [&](float seconds) {
        // Above the ground for a step (sound ready), then in it.
        PlaceBody(model->GetBody(), CVector3(0, 0.01f, 0));
        for (float t = 0.0f; t < seconds; t += 0.005f)
            point->CalcForces(0.005f);
        PlaceBody(model->GetBody(), CVector3(0, -0.1f, 0));
        point->CalcForces(0.005f);
    };
    for (const auto& [wait, crashes] : {std::pair{0.0f, 1}, {0.2f, 1}, {0.3f, 2}})
    {
        touch(wait);
        EXPECT_EQ(sounds.crashes, crashes) << "after " << wait << " s";
        EXPECT_FLOAT_EQ(sounds.lastCrash, 1.0f); // 49 N = 1.85 times the weight: full volume
    }
    // Staying in the ground never repeats it.
    for (int i = 0; i < 200; ++i)
        point->CalcForces(0.005f);
    EXPECT_EQ(sounds.crashes, 2);
}

