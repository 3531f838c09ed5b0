// The flight view's camera: its zoom rules, its forces, each mode's pose after a while, mode
// switching by command, ground avoidance, and the flight view's near plane.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gfx/views/CCamera.h"
#include "gfx/views/CViewFly.h"
#include "input/UserCommands.h"
#include "support/InputEvents.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kFrame = 1.0f / 60.0f;

void Fly(CCamera& camera, float seconds, float frame = kFrame)
{
    for (float t = 0.0f; t < seconds; t += frame)
        camera.Update(frame);
}

// The angle (rad) between the camera's view direction and the direction to a point.
float AimError(const CCamera& camera, const CVector3& point)
{
    const CVector3 to = (point - camera.GetPosition()).Normalized();
    return std::acos(std::fmax(-1.0f, std::fmin(1.0f, to.Dot(camera.GetViewDirection()))));
}

class CStepTerrain : public ITerrain
{
public:
    float GetTerrainHeight(float x, float, TTerrainHint&, CVector3& outNormal) const override
    {
        outNormal = CVector3(0.0f, 1.0f, 0.0f);
        return x < 0.0f ? 0.0f : 10.0f; // a 10 m cliff at x = 0
    }
};

// The field of view steps one degree per frame without overshoot; the auto-zoom ratio steps by
// 0.01 towards its limits; the follow spring is a signed square capped at 700 N.
TEST(CameraRules, ZoomStepsAutoZoomAndFollowSpring)
{
    struct Row { float got, expected, tolerance; const char* what; };
    const Row rows[] = {
        {CCamera::StepHFOV(28.5f, 40.0f), 29.5f, 0.0f, "wider"},
        {CCamera::StepHFOV(28.5f, 28.9f), 28.9f, 0.0f, "no overshoot"},
        {CCamera::StepHFOV(10.0f, 3.0f), 9.0f, 0.0f, "narrower"},
        {CCamera::StepHFOV(3.4f, 3.0f), 3.0f, 0.0f, "no overshoot"},
        {CCamera::AutoZoomRatioStep(0.14f, true, false), 0.15f, 0.0f, "ratio up"},
        {CCamera::AutoZoomRatioStep(0.25f, true, false), 0.25f, 0.0f, "ratio at its top"},
        {CCamera::AutoZoomRatioStep(0.035f, false, true), 0.03f, 0.0f, "ratio at its bottom"},
        {CCamera::AutoZoomRatioStep(0.2f, true, true), 0.19f, 1e-6f, "both: towards the default"},
        {CCamera::AutoZoomRatioStep(0.145f, true, true), 0.145f, 1e-6f, "within 0.01 of the default"},
        {CCamera::AutoZoomHFOV(10.0f, 0.14f), 20.39f, 0.02f, "10 m"},
        {CCamera::AutoZoomHFOV(100.0f, 0.14f), 3.0f, 0.0f, "2.05 clamped"},
        {CCamera::AutoZoomHFOV(0.0f, 0.14f), 60.0f, 0.0f, "on the model: widest"},
        {CCamera::FollowSpringForce(2.0f), 0.0f, 0.0f, "at rest at 2 m"},
        {CCamera::FollowSpringForce(1.0f), -150.0f, 0.0f, "pushes away inside 2 m"},
        {CCamera::FollowSpringForce(3.0f), 150.0f, 0.0f, "pulls beyond"},
        {CCamera::FollowSpringForce(30.0f), 700.0f, 0.0f, "capped"},
    };
    for (const Row& row : rows)
    {
        if (row.tolerance == 0.0f)
            EXPECT_FLOAT_EQ(row.got, row.expected) << row.what;
        else
            EXPECT_NEAR(row.got, row.expected, row.tolerance) << row.what;
    }
}

TEST(CameraRules, UserZoom)
{
    const float dt = 0.05f; // 1 degree per frame at 20 deg/s
    struct TCase { const char* what; float user, current; bool in, out; float expected; } cases[] = {
        {"out stops at 60", 59.8f, 59.8f, false, true, 60.0f},
        {"in stops at 3", 3.4f, 3.4f, true, false, 3.0f},
        {"both from wide: in", 40.0f, 40.0f, true, true, 39.0f},
        {"both from narrow: out", 10.0f, 10.0f, true, true, 11.0f},
        {"both near default: unchanged", 28.0f, 28.0f, true, true, 28.0f},
        {"neither: unchanged", 17.0f, 20.0f, false, false, 17.0f},
    };
    for (const TCase& c : cases)
        EXPECT_FLOAT_EQ(CCamera::UserZoom(c.user, c.current, c.in, c.out, dt), c.expected) << c.what;
}

TEST(CameraRules, AnglesRoundTripInTheBodysConvention)
{
    const float cases[][3] = {{0, 0, 0}, {0.5f, 0.2f, -0.3f}, {-2.0f, -0.7f, 1.0f}, {3.0f, 1.2f, 0.1f}};
    for (const auto& c : cases)
    {
        const CMatrix3 m = CCamera::OrientationFromAngles(c[0], c[1], c[2]);
        float h = 0, p = 0, r = 0;
        CCamera::AnglesFromOrientation(m, h, p, r);
        EXPECT_NEAR(h, c[0], 1e-4f);
        EXPECT_NEAR(p, c[1], 1e-4f);
        EXPECT_NEAR(r, c[2], 1e-4f);
        // And CEngineDynamic measures the same angles.
        CEngineDynamic body;
        body.SetOrientation(m);
        EXPECT_NEAR(body.GetHeading(), c[0], 1e-4f);
        EXPECT_NEAR(body.GetRoll(), c[2], 1e-4f);
    }
    // Heading 90 degrees looks along +X.
    const CMatrix3 east = CCamera::OrientationFromAngles(kPi / 2.0f, 0.0f, 0.0f);
    EXPECT_NEAR(-east.row[2].x, 1.0f, 1e-5f);
}

class CameraFixture : public ::testing::Test
{
protected:
    CameraFixture()
    {
        camera.SetResetPose(CVector3(0.0f, 1.7f, 0.0f), 0.0f, 0.0f, 0.0f);
        camera.Reset();
    }
    CCamera camera;
};

TEST_F(CameraFixture, LookAtTurnsToTheModelAndLevels)
{
    // Model 40 m to the right (east) and 10 m up; the camera starts looking north, rolled.
    camera.GetBody().SetOrientation(CCamera::OrientationFromAngles(0.0f, 0.0f, 0.4f));
    const CVector3 model(40.0f, 11.7f, 0.0f);
    camera.SetTarget(model, CVector3(), CMatrix3::Identity());
    Fly(camera, 3.0f);
    EXPECT_LT(AimError(camera, model), 0.02f);
    float h = 0, p = 0, r = 0;
    CCamera::AnglesFromOrientation(camera.GetOrientation(), h, p, r);
    EXPECT_LT(std::fabs(r), 0.02f);
    // It stands still: look-at brakes every translation.
    EXPECT_LT((camera.GetPosition() - CVector3(0.0f, 1.7f, 0.0f)).Length(), 0.01f);
}

TEST_F(CameraFixture, AutoZoomKeepsTheModelsSizeAsItFliesAway)
{
    ASSERT_EQ(camera.HandleEvent(CommandEvent(UC_CAMERA_AUTOZOOM)), static_cast<uint32_t>(UC_CAMERA_AUTOZOOM));
    ASSERT_TRUE(camera.IsAutoZoomEnabled());
    // The model flies away along -Z at 10 m/s from 5 m to 45 m.
    CVector3 model(0.0f, 1.7f, -5.0f);
    const CVector3 velocity(0.0f, 0.0f, -10.0f);
    float t = 0.0f;
    for (; t < 4.0f; t += kFrame)
    {
        model += velocity * kFrame;
        camera.SetTarget(model, velocity, CMatrix3::Identity());
        camera.Update(kFrame);
    }
    // The share of the view that 1 m of model fills stays at the ratio.
    const float dist = (model - camera.GetPosition()).Length();
    const float subtended = std::atan(1.0f / dist) * 57.295776f;
    EXPECT_NEAR(subtended * 0.5f / camera.GetCurrentHFOV(), 0.14f, 0.01f);
    EXPECT_LT(camera.GetCurrentHFOV(), 10.0f);
    // In the free mode the command changes nothing, and the user zoom takes over.
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_FREE));
    EXPECT_EQ(camera.HandleEvent(CommandEvent(UC_CAMERA_AUTOZOOM)), static_cast<uint32_t>(UC_CAMERA_AUTOZOOM));
    EXPECT_TRUE(camera.IsAutoZoomEnabled());
}

// The zoom rule itself is UserZoom's table; this is the held key reaching it.
TEST_F(CameraFixture, HeldZoomKeyStopsAtThree)
{
    for (int i = 0; i < 600; ++i)
    {
        camera.HandleEvent(CommandEvent(UC_CAMERA_ZOOM_IN, IE_IS_DOWN));
        camera.Update(kFrame);
    }
    EXPECT_FLOAT_EQ(camera.GetCurrentHFOV(), 3.0f);
}

// The spring's force is FollowSpringForce's table; this is the camera flying on it.
TEST_F(CameraFixture, FollowJumpsTo30MetresThenSettlesTwoMetresFromTheModel)
{
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_FOLLOW));
    const CVector3 model(0.0f, 1.7f, -100.0f);
    camera.SetTarget(model, CVector3(), CMatrix3::Identity());
    camera.Update(0.001f);
    EXPECT_NEAR((model - camera.GetPosition()).Length(), 30.0f, 0.01f);
    // Then it settles near 2 m, at the model's height, looking at it.
    Fly(camera, 15.0f);
    EXPECT_NEAR((model - camera.GetPosition()).Length(), 2.0f, 0.3f);
    EXPECT_NEAR(camera.GetPosition().y, model.y, 0.3f);
    EXPECT_LT(AimError(camera, model), 0.05f);
}

TEST_F(CameraFixture, GroundAvoidanceKeepsTheFollowCameraAboveTheTerrain)
{
    CStepTerrain terrain;
    camera.SetTerrain(&terrain);
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_FOLLOW));
    // The model skims over a 10 m cliff at 1 m while the camera follows from below the cliff top.
    camera.SetResetPose(CVector3(-3.0f, 1.0f, 0.0f), kPi / 2.0f, 0.0f, 0.0f);
    camera.Reset();
    float lowest = 1e9f;
    CVector3 model(-1.0f, 1.0f, 0.0f);
    for (int i = 0; i < 600; ++i)
    {
        model.x += 5.0f * kFrame;
        model.y = model.x < 0.0f ? 1.0f : 11.0f;
        camera.SetTarget(model, CVector3(5.0f, 0.0f, 0.0f), CMatrix3::Identity());
        camera.Update(kFrame);
        const CVector3& p = camera.GetPosition();
        TTerrainHint hint;
        CVector3 normal;
        lowest = std::fmin(lowest, p.y - terrain.GetTerrainHeight(p.x, p.z, hint, normal));
    }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_GT(camera.GetPosition().y, 10.5f);
}

TEST_F(CameraFixture, AttachedSitsBehindTheModelAlongItsAttitude)
{
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_ATTACHED));
    const CMatrix3 attitude = CCamera::OrientationFromAngles(kPi / 2.0f, 0.1f, 0.3f);
    const CVector3 model(5.0f, 20.0f, 3.0f);
    camera.SetTarget(model, CVector3(), attitude);
    camera.Update(kFrame);
    EXPECT_NEAR((camera.GetPosition() - (model + attitude.row[2] * 4.0f)).Length(), 0.0f, 1e-4f);
    EXPECT_NEAR(camera.GetViewDirection().Dot(-attitude.row[2]), 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(camera.GetTargetHFOV(), CCamera::kDefaultHFOV);
    // Forward brings it closer at 3 m/s whatever the frame rate.
    camera.HandleEvent(CommandEvent(UC_CAMERA_FORWARD, IE_IS_DOWN));
    Fly(camera, 0.5f, 0.05f); // two sub-steps per frame
    EXPECT_NEAR(camera.GetAttachedDistance(), 4.0f - 1.5f, 0.08f);
}

TEST_F(CameraFixture, FreeCameraTurnsWithTheKeysAndGlidesWithoutBrakes)
{
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_FREE));
    camera.HandleEvent(CommandEvent(UC_CAMERA_LEFT, IE_IS_DOWN));
    Fly(camera, 0.5f);
    float h = 0, p = 0, r = 0;
    CCamera::AnglesFromOrientation(camera.GetOrientation(), h, p, r);
    EXPECT_LT(h, -0.1f); // turned left (heading decreasing)
    camera.HandleEvent(CommandEvent(UC_CAMERA_LEFT, IE_GOING_UP));

    // Push forward, then let go: braked it stops quickly, unbraked it glides.
    auto coast = [&](bool holdBrakeKey) {
        camera.Reset();
        camera.HandleEvent(CommandEvent(UC_CAMERA_FORWARD, IE_IS_DOWN));
        Fly(camera, 1.0f);
        camera.HandleEvent(CommandEvent(UC_CAMERA_FORWARD, IE_GOING_UP));
        if (holdBrakeKey)
            camera.HandleEvent(CommandEvent(UC_CAMERA_BRAKES, IE_IS_DOWN));
        Fly(camera, 1.0f);
        const float speed = camera.GetBody().GetVelocity().Length();
        camera.HandleEvent(CommandEvent(UC_CAMERA_BRAKES, IE_GOING_UP));
        return speed;
    };
    const float braked = coast(false);
    const float gliding = coast(true);
    EXPECT_LT(braked, 0.5f);
    EXPECT_GT(gliding, 3.0f * braked + 1.0f);
}

// Regression: only the follow camera knew the ground; a free camera steered down, or the onboard
// camera behind a model below a cliff, went under it and the view showed the sky's haze.
TEST_F(CameraFixture, EveryModeKeepsTheEyeAboveTheGround)
{
    CStepTerrain terrain; // 10 m high for x >= 0
    camera.SetTerrain(&terrain);
    camera.SetResetPose(CVector3(-50.0f, 1.7f, 0.0f), 0.0f, 0.0f, 0.0f); // on the low ground
    camera.Reset();
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_FREE));
    camera.HandleEvent(CommandEvent(UC_CAMERA_DOWN, IE_IS_DOWN)); // pitch down, then fly forward
    Fly(camera, 0.8f);
    camera.HandleEvent(CommandEvent(UC_CAMERA_DOWN, IE_GOING_UP));
    camera.HandleEvent(CommandEvent(UC_CAMERA_FORWARD, IE_IS_DOWN));
    Fly(camera, 3.0f);
    EXPECT_NEAR(camera.GetPosition().y, CCamera::kMinEyeHeight, 1e-3f);

    // On board, 4 m behind a model that sits 1 m below the cliff edge.
    camera.HandleEvent(CommandEvent(UC_CAMERA_MODE_ATTACHED));
    camera.SetTarget(CVector3(-1.0f, 1.0f, 0.0f), CVector3(), CCamera::OrientationFromAngles(-kPi / 2.0f, 0.0f, 0.0f));
    camera.Update(kFrame);
    ASSERT_GE(camera.GetPosition().x, 0.0f); // above the cliff
    EXPECT_GE(camera.GetPosition().y, 10.0f + CCamera::kMinEyeHeight - 1e-4f);
}

TEST(FlightViewRules, NearPlaneFollowsTheModelAndKeepsTheGroundInView)
{
    // distance: m to the model
    // height: m above the ground
    const struct { float distance; float height; float nearPlane; } rows[] = {
        {100.0f, 50.0f, 5.0f},  // far model, high camera: the upper limit
        {0.5f, 50.0f, 0.1f},    // model at arm's length: the lower limit
        {20.0f, 50.0f, 2.0f},   // a tenth of the distance
        {100.0f, 1.7f, 0.85f},  // the pilot's eye: half its height, or the field is cut away
        {100.0f, 0.05f, 0.1f},  // in the grass: never below the lower limit
    };
    for (const auto& row : rows)
        EXPECT_FLOAT_EQ(CViewFly::NearPlaneFor(row.distance, row.height), row.nearPlane) << row.distance << " " << row.height;
}

TEST_F(CameraFixture, CommandsAndTheirAnswers)
{
    struct TCase { uint32_t command; uint32_t flags; uint32_t answer; } cases[] = {
        {UC_CAMERA_MODE_FOLLOW, IE_GOING_DOWN, UC_CAMERA_MODE_FOLLOW},
        {UC_CAMERA_LEFT, IE_IS_DOWN, UC_CAMERA_LEFT},
        {UC_CAMERA_LEFT, IE_GOING_DOWN, 0},      // neither IS-DOWN nor GOING-UP
        {UC_CAMERA_BRAKES, IE_REPEAT, 0},
        {UC_CAMERA_BRAKES, IE_GOING_UP, UC_CAMERA_BRAKES},
        {UC_VIEW_INSTRUMENT_PANEL, IE_IS_DOWN, 0}, // not a camera command
        {UC_CAMERA_MODE_ATTACHED, IE_GOING_DOWN, UC_CAMERA_MODE_ATTACHED},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(camera.HandleEvent(CommandEvent(c.command, c.flags)), c.answer) << c.command;
    EXPECT_EQ(camera.GetMode(), CCamera::MODE_ATTACHED);
    EXPECT_STREQ(CCamera::ModeButtonSprite(camera.GetMode()), "B_ANCHOR");
}
} // namespace
