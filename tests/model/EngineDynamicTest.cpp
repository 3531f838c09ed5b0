#include <cmath>
#include <gtest/gtest.h>

#include "model/CEngineDynamic.h"
#include "model/CForce.h"
#include "model/CMassElement.h"
#include "AeroTestSupport.h"

using aero_test::ExpectNear;

namespace
{
constexpr float kPi = 3.14159265f;

// A body of the given mass, unit inertia unless told, centre of mass at `centre`.
void MakeBody(CEngineDynamic& body, float mass = 1.0f, const CVector3& centre = CVector3(),
              const CMatrix3& inertia = CMatrix3::Identity())
{
    body.ResetBody();
    body.SetMassProperties(inertia, mass, centre);
}

CForce Force(const CVector3& vector, const CVector3& point = CVector3())
{
    CForce force("F", 0);
    force.vector = vector;
    force.point = point;
    return force;
}

CTorque Torque(const CVector3& vector)
{
    CTorque torque("T", 0);
    torque.vector = vector;
    return torque;
}

float OrthonormalError(const CMatrix3& m)
{
    const CMatrix3 p = m * m.Transposed();
    float error = 0.0f;
    for (int k = 0; k < 9; ++k)
        error = std::fmax(error, std::fabs(p[k] - (k % 4 == 0 ? 1.0f : 0.0f)));
    return error;
}

TEST(EngineDynamic, SubStepsSplitTheFrameIntoEqualStepsNoLongerThanTheMaximum)
{
    struct TCase { const char* what; float frameTime, maxStep; int steps; float stepLength; } cases[] = {
        {"a 0.02 s frame, 0.005 s steps", 0.02f, 0.005f, 5, 0.004f},
        {"a frame shorter than the step", 0.004f, 0.005f, 1, 0.004f},
        {"a frame equal to the step", 0.005f, 0.005f, 1, 0.005f},
        {"exactly two steps give three", 0.01f, 0.005f, 3, 0.01f / 3.0f},
        {"step 0 means one step per frame", 0.02f, 0.0f, 1, 0.02f},
        {"a zero frame is one step of 0", 0.0f, 0.005f, 1, 0.0f},
        {"a negative frame is no time", -0.01f, 0.005f, 1, 0.0f},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CEngineDynamic body;
        MakeBody(body);
        body.SetMaxIntegrationStep(c.maxStep);
        std::vector<float> calls;
        body.SetSubStepCallback(
            [](void* context, float dt) { static_cast<std::vector<float>*>(context)->push_back(dt); }, &calls);
        body.Update(c.frameTime);
        ASSERT_EQ(static_cast<int>(calls.size()), c.steps);
        for (float dt : calls)
            EXPECT_NEAR(dt, c.stepLength, 1e-7f);
    }
}

TEST(EngineDynamic, TorqueIsTheWorldArmFromTheCentreOfMassCrossTheForce)
{
    const CMatrix3 yaw = CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), 0.5f * kPi);
    struct TCase
    {
        const char* what;
        CVector3 centre;
        CMatrix3 orientation;
        CVector3 point, extra; // body frame; the extra torque in the world frame
        CVector3 torque;       // world frame
    } cases[] = {
        {"at the centre of mass", {0.5f, 0, 0}, CMatrix3::Identity(), {0.5f, 0, 0}, {}, {}},
        {"1 m along body X: (1, 0, 0) x (0, 10, 0)", {}, CMatrix3::Identity(), {1, 0, 0}, {}, {0, 0, 10}},
        // Yawed 90 degrees the arm lies along world -Z: (0, 0, -1) x (0, 10, 0) = (10, 0, 0);
        // world torques add as they are.
        {"the arm turns with the body", {}, yaw, {1, 0, 0}, {1, 2, 3}, {11, 2, 3}},
        // Rolled 90 degrees the arm along body Z stays on world Z: (0, 0, 1) x (0, 10, 0).
        {"rolled", {}, CMatrix3::FromAxisAngle(CVector3(0.0f, 0.0f, 1.0f), 0.5f * kPi), {0, 0, 1}, {}, {-10, 0, 0}},
    };
    // A record kept in body axes (the wings') adds up as its world vector does.
    for (bool bodyAxes : {false, true})
        for (const TCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.what) + (bodyAxes ? ", in body axes" : ""));
        CEngineDynamic body;
        MakeBody(body, 1.0f, c.centre);
        body.SetOrientation(c.orientation);
        CForce force = Force(CVector3(0.0f, 10.0f, 0.0f), c.point);
        if ((force.bodyAxes = bodyAxes))
            force.vector = body.WorldToBodyVector(force.vector);
        ExpectNear(body.WorldForce(force), CVector3(0.0f, 10.0f, 0.0f), 1e-5f);
        CTorque extra = Torque(c.extra);
        body.AddForce(&force);
        body.AddTorque(&extra);
        body.Update(0.004f);
        ExpectNear(body.GetTotalForce(), CVector3(0.0f, 10.0f, 0.0f), 1e-5f);
        ExpectNear(body.GetTotalTorque(), c.torque, 1e-5f);
    }
}

TEST(EngineDynamic, RunawayForceStopsTheBodyAndZeroesEveryRecord)
{
    const float inf = INFINITY, nan = NAN;
    // The second force record (world N, body m) and the torque (world N*m).
    struct TCase { const char* what; CVector3 force, point, torque; } cases[] = {
        {"a force above the limit", {0, 0, -100000.0f}, {}, {0, 3, 0}},
        {"an infinite force", {0, inf, 0}, {}, {0, 3, 0}},
        // NonFiniteForceSpoilsTheBodyForGood: these passed the limit test and made the state NaN.
        {"a NaN force", {nan, 0, 0}, {}, {0, 3, 0}},
        {"a NaN torque", {1, 0, 0}, {}, {0, nan, 0}},
        {"an infinite torque", {1, 0, 0}, {}, {-inf, 0, 0}},
        {"a force at an infinite point", {0, 10, 0}, {inf, 0, 0}, {0, 3, 0}},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CEngineDynamic body;
        MakeBody(body);
        CForce sane = Force(CVector3(5.0f, 0.0f, 0.0f)), runaway = Force(c.force, c.point);
        CTorque torque = Torque(c.torque);
        body.AddForce(&sane);
        body.AddForce(&runaway);
        body.AddTorque(&torque);
        body.SetVelocity(CVector3(10.0f, 0.0f, 0.0f));
        body.SetAngularVelocity(CVector3(0.0f, 2.0f, 0.0f));
        body.Update(0.004f);

        for (const CVector3& zero : {body.GetVelocity(), body.GetAngularVelocity(), body.GetPosition(), sane.vector,
                                     runaway.vector, torque.vector, body.GetTotalForce(), body.GetTotalTorque()})
            EXPECT_EQ(zero, CVector3()); // the sane record was summed first: the sums are empty all the same
        EXPECT_EQ(body.GetOrientation(), CMatrix3::Identity());

        // Once the part is sane again the body moves again: nothing was spoilt.
        runaway.vector = CVector3(99999.0f, 0.0f, 0.0f);
        runaway.point = CVector3();
        body.Update(0.004f);
        EXPECT_GT(body.GetVelocity().x, 0.0f);
    }
}

// With 0.02 s frames and 0.005 s at most, 5 sub-steps of h = 0.004 s. Semi-implicit Euler moves
// with the velocity already updated: after n sub-steps of constant a, x = v0*n*h + a*h^2*n(n+1)/2;
// explicit Euler would give n(n-1)/2, a*h^2*n = 1.6e-3 m less here.
TEST(EngineDynamic, PositionAfterConstantAccelerationIsTheSemiImplicitSum)
{
    CEngineDynamic body;
    MakeBody(body, 2.0f);
    CForce push = Force(CVector3(0.0f, 0.0f, -4.0f)); // 2 m/s^2 along -Z
    body.AddForce(&push);
    body.SetVelocity(CVector3(1.0f, 0.0f, 0.0f));
    for (int frame = 0; frame < 10; ++frame)
        body.Update(0.02f);
    const double h = 0.004, n = 50.0, a = -2.0;
    EXPECT_NEAR(body.GetPosition().x, 1.0 * n * h, 1e-5);
    EXPECT_NEAR(body.GetPosition().z, a * h * h * n * (n + 1.0) / 2.0, 1e-5);
    EXPECT_NEAR(body.GetVelocity().z, a * h * n, 1e-5);
}

// Body inertia (kg m^2, about the origin) [[2, 0.5, 0], [0.5, 3, 0], [0, 0, 4]], yawed 90 degrees
// (body X along world -Z, body Z along world +X). A world torque (0, 0, -5) is (5, 0, 0) in body
// axes; I^-1 has the block [[3, -0.5], [-0.5, 2]] / 5.75, so alpha = (15, -2.5, 0) / 5.75 in
// body axes, which is (0, -2.5, -15) / 5.75 in world axes. A singular inertia stops the rotation.
TEST(EngineDynamic, RotatedBodyWithCrossInertiaAnswersATorqueInItsOwnAxes)
{
    CEngineDynamic body;
    MakeBody(body, 1.0f, CVector3(), CMatrix3::FromRows({2.0f, 0.5f, 0.0f}, {0.5f, 3.0f, 0.0f}, {0.0f, 0.0f, 4.0f}));
    body.SetOrientation(CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), 0.5f * kPi));
    CTorque torque = Torque(CVector3(0.0f, 0.0f, -5.0f));
    body.AddTorque(&torque);
    body.Update(0.004f);
    ExpectNear(body.GetAngularAcceleration(), CVector3(0.0f, -2.5f / 5.75f, -15.0f / 5.75f), 1e-5f);
    ExpectNear(body.GetAngularVelocity(), CVector3(0.0f, -2.5f / 5.75f, -15.0f / 5.75f) * 0.004f, 1e-7f);

    CEngineDynamic singular;
    MakeBody(singular, 1.0f, CVector3(), CMatrix3::Zero());
    singular.AddTorque(&torque);
    singular.Update(0.02f);
    EXPECT_EQ(singular.GetAngularVelocity(), CVector3());
}

TEST(EngineDynamic, OrientationIsKeptExactlyWithoutSpinAndOrthonormalAgainAfterOneHundredFrames)
{
    CEngineDynamic still;
    MakeBody(still);
    still.SetOrientation(CMatrix3::FromEuler(0.3f, -0.2f, 0.7f));
    still.SetVelocity(CVector3(1.0f, 2.0f, 3.0f));
    still.Update(0.02f); // the first frame re-orthonormalises
    const CMatrix3 settled = still.GetOrientation();
    for (int frame = 2; frame <= 100; ++frame) // up to the next re-orthonormalisation
        still.Update(0.02f);
    EXPECT_EQ(still.GetOrientation(), settled);

    CEngineDynamic body;
    MakeBody(body);
    body.Update(0.02f); // frame 1: the trigger fires and restarts
    // Drift: a sheared, stretched frame.
    body.SetOrientation(CMatrix3::FromRows({1.02f, 0.03f, 0.0f}, {0.0f, 0.98f, 0.04f}, {0.01f, 0.0f, 1.01f}));
    for (int frame = 2; frame <= 100; ++frame)
        body.Update(0.02f);
    EXPECT_GT(OrthonormalError(body.GetOrientation()), 1e-3f) << "re-orthonormalised before frame 101";
    body.Update(0.02f); // frame 101
    EXPECT_LT(OrthonormalError(body.GetOrientation()), 1e-5f);
    EXPECT_NEAR(body.GetOrientation().Determinant(), 1.0f, 1e-5f);
}

// --- The mass elements the parts weigh with.

// A 10 cm cube of 1000 kg/m^3 is 4 x 4 x 4 samples at 0.0125 .. 0.0875: Ixx = 2 * mean(y^2) =
// 2 * 0.013125 / 4, Ixy = -mean(x) mean(y). (The metre cube, 20 per axis: the massless model.)
TEST(MassElement, BoxesAreGridsOfSamplesThatTheFrameMovesAndTurns)
{
    CMassElement element;
    element.AddBox(1000.0f, CVector3(0, 0, 0), CVector3(0.1f, 0.1f, 0.1f));
    EXPECT_NEAR(element.Mass(), 1.0f, 1e-5f);
    EXPECT_EQ(element.Points().size(), 64u);
    ExpectNear(element.CentreOfMass(), CVector3(0.05f, 0.05f, 0.05f), 1e-5f);
    for (int k : {0, 4, 8})
        EXPECT_NEAR(element.Inertia()[k], 0.0065625f, 1e-6f) << k;
    for (int k : {1, 5, 6})
        EXPECT_NEAR(element.Inertia()[k], -0.0025f, 1e-6f) << k;

    CMassElement turned;
    const CMatrix3 turn = CMatrix3::FromAxisAngle(CVector3(0.0f, 0.0f, 1.0f), 0.5f * kPi);
    turned.AddBox(1000.0f, CVector3(0, 0, 0), CVector3(0.1f, 0.1f, 0.1f), CVector3(1.0f, 0.0f, 0.0f), turn);
    ExpectNear(turned.CentreOfMass(), CVector3(1.0f, 0.0f, 0.0f) + CVector3(0.05f, 0.05f, 0.05f) * turn, 1e-5f);
}

TEST(MassElement, SmallCubeWeighsExactlyItsMass)
{
    CMassElement element;
    element.AddSmallCube(0.25f, CVector3(0.3f, -0.1f, 0.2f));
    EXPECT_NEAR(element.Mass(), 0.25f, 1e-6f);
    ExpectNear(element.CentreOfMass(), CVector3(0.3f, -0.1f, 0.2f), 1e-6f);
    // Nearly a point mass: Ixx ~ m (y^2 + z^2).
    EXPECT_NEAR(element.Inertia()[0], 0.25f * (0.01f + 0.04f), 1e-4f);
}
} // namespace
