#include <gtest/gtest.h>

#include "model/CMassElement.h"

namespace
{
constexpr float kPi = 3.14159265f;

TEST(MassElement, SmallBoxIsAFourByFourByFourGrid)
{
    CMassElement element;
    // 10 cm cube of 1000 kg/m^3: 1 kg, samples at 0.0125, 0.0375, 0.0625, 0.0875 on each axis.
    element.AddBox(1000.0f, CVector3(0.0f, 0.0f, 0.0f), CVector3(0.1f, 0.1f, 0.1f));
    EXPECT_NEAR(element.Mass(), 1.0f, 1e-5f);
    EXPECT_EQ(element.Points().size(), 64u);
    EXPECT_NEAR(element.CentreOfMass().x, 0.05f, 1e-6f);
    EXPECT_NEAR(element.CentreOfMass().y, 0.05f, 1e-6f);
    EXPECT_NEAR(element.CentreOfMass().z, 0.05f, 1e-6f);
    // About the origin: Ixx = 2 * mean(y^2) = 2 * 0.013125 / 4; Ixy = -mean(x) mean(y).
    const CMatrix3& I = element.Inertia();
    EXPECT_NEAR(I[0], 0.0065625f, 1e-6f);
    EXPECT_NEAR(I[4], 0.0065625f, 1e-6f);
    EXPECT_NEAR(I[8], 0.0065625f, 1e-6f);
    EXPECT_NEAR(I[1], -0.0025f, 1e-6f);
    EXPECT_NEAR(I[5], -0.0025f, 1e-6f);
    EXPECT_NEAR(I[6], -0.0025f, 1e-6f);
}

TEST(MassElement, MetreCubeHasTwentySamplesPerAxis)
{
    CMassElement element;
    element.AddBox(1.0f, CVector3(-0.5f, -0.5f, -0.5f), CVector3(0.5f, 0.5f, 0.5f));
    EXPECT_NEAR(element.Mass(), 1.0f, 1e-6f);
    EXPECT_EQ(element.Points().size(), 8000u);
    // Samples at +-0.025 .. +-0.475: mean(y^2) = 0.025^2 * (1^2 + 3^2 + ... + 19^2) / 10 = 0.083125.
    const CMatrix3& I = element.Inertia();
    EXPECT_NEAR(I[0], 0.16625f, 1e-4f);
    EXPECT_NEAR(I[4], 0.16625f, 1e-4f);
    EXPECT_NEAR(I[8], 0.16625f, 1e-4f);
    EXPECT_NEAR(I[1], 0.0f, 1e-5f);
    EXPECT_NEAR(element.CentreOfMass().Length(), 0.0f, 1e-5f);
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
    const CVector3 expected = CVector3(1.0f, 0.0f, 0.0f) + CVector3(0.05f, 0.05f, 0.05f) * turn;
    EXPECT_NEAR(element.CentreOfMass().x, expected.x, 1e-5f);
    EXPECT_NEAR(element.CentreOfMass().y, expected.y, 1e-5f);
    EXPECT_NEAR(element.CentreOfMass().z, expected.z, 1e-5f);
}

TEST(MassElement, SmallCubeWeighsExactlyItsMass)
{
    CMassElement element;
    element.AddSmallCube(0.25f, CVector3(0.3f, -0.1f, 0.2f));
    EXPECT_NEAR(element.Mass(), 0.25f, 1e-6f);
    EXPECT_NEAR(element.CentreOfMass().x, 0.3f, 1e-6f);
    EXPECT_NEAR(element.CentreOfMass().y, -0.1f, 1e-6f);
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
    // About the origin, not the centre of mass: Iyy = 1 * 1 + 3 * 1.
    EXPECT_FLOAT_EQ(sum.Inertia()[4], 4.0f);
    EXPECT_EQ(sum.Points().size(), 2u);
}
} // namespace
