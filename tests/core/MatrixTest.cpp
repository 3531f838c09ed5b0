#include <cmath>
#include <gtest/gtest.h>

#include "core/CMatrix3.h"
#include "core/FastAtan2.h"

namespace
{
void ExpectNear(const CMatrix3& a, const CMatrix3& b, float tolerance)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(a[k], b[k], tolerance) << "element " << k;
}
} // namespace

TEST(Matrix3, InverseIsIdentityTimesOrZeroWhenSingular)
{
    const CMatrix3 m = CMatrix3::FromRows({2, 0.5f, 0}, {0.1f, 3, -1}, {0, 0.2f, 1.5f});
    ExpectNear(m * m.Inverse(), CMatrix3::Identity(), 1e-5f);
    const CMatrix3 singular = CMatrix3::FromRows({1, 2, 3}, {2, 4, 6}, {0, 1, 0});
    EXPECT_EQ(singular.Inverse(), CMatrix3::Zero());
}

TEST(Matrix3, RotationAboutYTurnsForwardTowardsMinusX)
{
    EXPECT_EQ(CMatrix3::FromRotationVector({0, 5e-9f, 0}), CMatrix3::Identity()) << "a tiny rotation is exact";
    // Forward is -Z; a positive rotation about +Y (right-handed) swings -Z towards -X.
    const CVector3 turned = CVector3(0, 0, -1) * CMatrix3::FromAxisAngle({0, 1, 0}, 3.14159265f / 2);
    EXPECT_NEAR(turned.x, -1.0f, 1e-6f);
    EXPECT_NEAR(turned.z, 0.0f, 1e-6f);
    // Parts mount with (heading - 90, -roll, pitch): all zero gives the x axis (0, 0, -1).
    const CMatrix3 mount = CMatrix3::FromEuler(-3.14159265f / 2, 0, 0);
    EXPECT_NEAR(mount.row[0].x, 0.0f, 1e-6f);
    EXPECT_NEAR(mount.row[0].z, -1.0f, 1e-6f);
}

TEST(Matrix3, EulerAnglesRoundTrip)
{
    const float cases[][3] = {{0.3f, 0.2f, 0.1f}, {1.0f, -0.5f, 2.0f}, {-2.5f, 0.4f, -1.2f}, {0, 0, 0}};
    for (const auto& c : cases)
    {
        float a, b, cc;
        CMatrix3::FromEuler(c[0], c[1], c[2]).ToEulerAngles(a, b, cc);
        EXPECT_NEAR(a, c[0], 1e-5f);
        EXPECT_NEAR(b, c[1], 1e-5f);
        EXPECT_NEAR(cc, c[2], 1e-5f);
    }
}

TEST(Matrix3, OrthonormalizeRepairsDrift)
{
    CMatrix3 m = CMatrix3::FromAxisAngle(CVector3(1, 2, 3).Normalized(), 0.7f);
    m.row[0] *= 1.01f;
    m.row[1] += CVector3(0.02f, -0.01f, 0.0f);
    m.Orthonormalize();
    ExpectNear(m * m.Transposed(), CMatrix3::Identity(), 1e-5f);
    EXPECT_NEAR(m.Determinant(), 1.0f, 1e-5f);
}

// Every float angle step of the circle at three radii (and the quadrant edges, where the fold to
// the octant and the signs meet) within 1e-6 rad of the exact angle; the special values as the
// library gives them.
TEST(FastAtan2, WithinAMicroradianAllRoundTheCircle)
{
    double worst = 0.0;
    for (int i = -200000; i <= 200000; ++i)
        for (double radius : {1e-3, 1.0, 3e4})
        {
            const double angle = 3.14159265358979 * i / 200000.0;
            const float x = static_cast<float>(radius * std::cos(angle)), y = static_cast<float>(radius * std::sin(angle));
            double error = std::fabs(FastAtan2(y, x) - std::atan2(static_cast<double>(y), static_cast<double>(x)));
            worst = std::max(worst, std::min(error, std::fabs(error - 2.0 * 3.14159265358979)));
        }
    EXPECT_LT(worst, 1e-6);
    const float inf = INFINITY, nan = NAN;
    const float special[][2] = {{0.0f, 0.0f}, {-0.0f, 0.0f}, {0.0f, -0.0f}, {-0.0f, -0.0f}, {1.0f, -0.0f},
                                {-0.0f, -1.0f}, {inf, 1.0f}, {-1.0f, -inf}, {inf, -inf}, {1e-40f, 1.0f}};
    for (const auto& [y, x] : special)
        EXPECT_EQ(std::signbit(FastAtan2(y, x)), std::signbit(std::atan2(y, x))) << y << " " << x;
    for (const auto& [y, x] : special)
        EXPECT_NEAR(FastAtan2(y, x), std::atan2(y, x), 1e-6f) << y << " " << x;
    EXPECT_TRUE(std::isnan(FastAtan2(nan, 1.0f)) && std::isnan(FastAtan2(1.0f, nan)));
}
