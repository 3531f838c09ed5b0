#include <gtest/gtest.h>

#include "model/CMassElement.h"
#include "AeroTestSupport.h"

using aero_test::ExpectNear;

namespace
{
constexpr float kPi = 3.14159265f;

TEST(MassElement, BoxesAreGridsOfSamples)
{
    struct TCase
    {
        const char* what;
        float density;
        CVector3 min, max;
        size_t points;
        float centre;          // on each axis
        float diagonal, cross; // of the inertia about the origin
        float tolerance;
    } cases[] = {
        // Samples at 0.0125 .. 0.0875: Ixx = 2 * mean(y^2) = 2 * 0.013125 / 4; Ixy = -mean(x) mean(y).
        {"10 cm cube of 1000 kg/m^3: 4 x 4 x 4", 1000.0f, {0, 0, 0}, {0.1f, 0.1f, 0.1f}, 64, 0.05f, 0.0065625f,
         -0.0025f, 1e-6f},
        // Samples at +-0.025 .. +-0.475: mean(y^2) = 0.025^2 * (1^2 + 3^2 + ... + 19^2) / 10 = 0.083125.
        {"metre cube: 20 per axis", 1.0f, {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, 8000, 0.0f, 0.16625f, 0.0f, 1e-4f},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CMassElement element;
        element.AddBox(c.density, c.min, c.max);
        EXPECT_NEAR(element.Mass(), 1.0f, 1e-5f);
        EXPECT_EQ(element.Points().size(), c.points);
        ExpectNear(element.CentreOfMass(), CVector3(c.centre, c.centre, c.centre), 1e-5f);
        const CMatrix3& I = element.Inertia();
        for (int k : {0, 4, 8})
            EXPECT_NEAR(I[k], c.diagonal, c.tolerance) << k;
        for (int k : {1, 5, 6})
            EXPECT_NEAR(I[k], c.cross, c.tolerance) << k;
    }
}

TEST(MassElement, SampleCountsFollowTheClampedExtents)
{
    CMassElement element;
    // x 0.5 m -> 10 samples, y 0.1 m (clamped to 0.2) -> 4, z 2 m (clamped to 1) -> 20.
    element.AddBox(10.0f, CVector3(0.0f, 0.0f, 0.0f), CVector3(0.5f, 0.1f, 2.0f));
    EXPECT_EQ(element.Points().size(), 800u);
    EXPECT_NEAR(element.Mass(), 1.0f, 1e-5f);
    float sum = 0.0f;
    for (const TPointMass& point : element.Points())
        sum += point.mass;
    EXPECT_NEAR(sum, 1.0f, 1e-4f);
}

TEST(MassElement, FrameMovesAndTurnsTheBox)
{
    CMassElement element;
    const CMatrix3 turn = CMatrix3::FromAxisAngle(CVector3(0.0f, 0.0f, 1.0f), 0.5f * kPi);
    element.AddBox(1000.0f, CVector3(0.0f, 0.0f, 0.0f), CVector3(0.1f, 0.1f, 0.1f), CVector3(1.0f, 0.0f, 0.0f), turn);
    ExpectNear(element.CentreOfMass(), CVector3(1.0f, 0.0f, 0.0f) + CVector3(0.05f, 0.05f, 0.05f) * turn, 1e-5f);
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

TEST(MassElement, AccumulatorWeighsTheCentres)
{
    CMassElement a, b, sum;
    a.AddPoint(1.0f, CVector3(1.0f, 0.0f, 0.0f));
    b.AddPoint(3.0f, CVector3(-1.0f, 0.0f, 0.0f));
    sum.Add(a);
    sum.Add(b);
    EXPECT_FLOAT_EQ(sum.Mass(), 4.0f);
    EXPECT_FLOAT_EQ(sum.CentreOfMass().x, -0.5f);
    EXPECT_FLOAT_EQ(sum.Inertia()[4], 4.0f); // about the origin, not the centre of mass: 1 * 1 + 3 * 1
}
} // namespace
