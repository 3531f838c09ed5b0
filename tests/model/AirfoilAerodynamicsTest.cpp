// CalcAirfoilAerodynamicForces and the control-surface increment against hand-computed values
// (the ordinary case, in any attitude, through the wings in WingTest).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "AeroTestSupport.h"
#include "model/AirfoilAerodynamics.h"

using aero_test::AirfoilFromText;
using aero_test::DiagCapture;
using aero_test::ExpectNear;

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadPerDeg = kPi / 180.0f;

struct TResult
{
    CVector3 lift, drag;
    float cp = -1.0f, alpha = -1.0f;
};

TResult Calc(const CVector3& air, const CMatrix3& frame, float area, float aspectRatio, float efficiency,
             float deflection, float chordFraction, const CAirfoil* airfoil)
{
    TResult r;
    CalcAirfoilAerodynamicForces(air, frame, area, aspectRatio, efficiency, deflection, chordFraction, airfoil, r.lift,
                                 r.drag, r.cp, r.alpha);
    return r;
}
} // namespace

TEST(AirfoilAerodynamicsTest, ControlSurfaceIncrement)
{
    struct Case { float deflectionDeg, chordFraction, dCl; const char* why; float maxLift = 0.4f; };
    const Case cases[] = {
        {20.0f, 0.3f, 0.4f, "full effect at 20 deg and 0.3"},
        {30.0f, 0.5f, 0.4f, "both factors saturate"},
        {-30.0f, 0.5f, -0.6f, "a negative deflection has no lower clamp"},
        {10.0f, 0.15f, 0.1f, "half and half"},
        {-10.0f, 0.3f, -0.2f, "linear below saturation"},
        {0.0f, 0.3f, 0.0f, "neutral"},
        {10.0f, -0.2f, 0.0f, "a negative chord fraction adds nothing"},
        {10.0f, 1.0f, 0.2f, "chord fraction saturates"},
        {-20.0f, 0.4f, -1.1f, "a model's own maximum control lift", 1.1f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ControlSurfaceLiftIncrement(c.deflectionDeg * kRadPerDeg, c.chordFraction, c.maxLift), c.dCl,
                    1e-5f)
            << c.why;
    EXPECT_EQ(ControlSurfaceLiftIncrement(std::nanf(""), 0.3f), 0.0f);
}

TEST(AirfoilAerodynamicsTest, FlowAlongTheNormalGivesDragOnly)
{
    // A plate falling flat: air at 10 m/s from below, alpha = 90 deg. Cl(90) = 0.9 still feeds
    // the induced drag, but the lift direction has length cos(90) = 0.
    //   qS = 10^2 * 0.5 * 0.6125 = 30.625 N
    //   drag = 30.625 * (0.02 + 0.81 / (pi * 4 * 0.9)) = 2.80587 N along +Y
    DiagCapture quiet;
    const auto airfoil = AirfoilFromText(aero_test::kLinearAirfoil);
    const TResult r = Calc(CVector3(0, 10, 0), CMatrix3(), 0.5f, 4.0f, 0.9f, 0.0f, 0.3f, airfoil.get());
    ExpectNear(r.lift, CVector3(), 1e-5f, "no lift");
    ExpectNear(r.drag, CVector3(0, 30.625f * (0.02f + 0.81f / (kPi * 3.6f)), 0), 1e-4f, "drag");
    EXPECT_NEAR(r.alpha, kPi / 2.0f, 1e-6f);
    EXPECT_NEAR(r.cp, 0.25f, 1e-6f);
}

TEST(AirfoilAerodynamicsTest, DegenerateInputsGiveFiniteOrZeroForces)
{
    DiagCapture quiet;
    const auto airfoil = AirfoilFromText(aero_test::kLinearAirfoil);
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // Just below the minimum air speed: nothing at all.
    TResult r = Calc(CVector3(0, 0, 0.0009f), CMatrix3(), 0.3f, 6.0f, 0.8f, 0.2f, 0.3f, airfoil.get());
    EXPECT_TRUE(r.lift == CVector3() && r.drag == CVector3() && r.cp == 0.0f && r.alpha == 0.0f);
    // Just above it, profile drag along the flow.
    r = Calc(CVector3(0, 0, 0.0011f), CMatrix3(), 0.3f, 6.0f, 0.8f, 0.0f, 0.3f, airfoil.get());
    EXPECT_GT(r.drag.z, 0.0f);

    // A zero aspect ratio drops the induced drag instead of dividing by zero.
    r = Calc(CVector3(0, 0, 10), CMatrix3(), 0.3f, 0.0f, 0.8f, 0.3f, 0.3f, airfoil.get());
    EXPECT_NEAR(r.drag.z, 100.0f * 0.3f * 0.6125f * 0.02f, 1e-5f);

    // No airfoil: the control surface alone, with its induced drag.
    r = Calc(CVector3(0, 0, 10), CMatrix3(), 0.3f, 6.0f, 0.8f, 0.5f, 0.3f, nullptr);
    EXPECT_NEAR(r.lift.y, 18.375f * 0.4f, 1e-4f);
    EXPECT_NEAR(r.drag.z, 18.375f * 0.16f / (kPi * 4.8f), 1e-5f);

    // A non-finite air velocity or a singular frame never yields NaN forces.
    for (const TResult& bad : {Calc(CVector3(nan, 0, 10), CMatrix3(), 0.3f, 6.0f, 0.8f, 0.0f, 0.3f, airfoil.get()),
                               Calc(CVector3(0, 1, 10), CMatrix3::Zero(), 0.3f, 6.0f, 0.8f, 0.0f, 0.3f, airfoil.get())})
    {
        EXPECT_TRUE(std::isfinite(bad.lift.x + bad.lift.y + bad.lift.z));
        EXPECT_TRUE(std::isfinite(bad.drag.x + bad.drag.y + bad.drag.z));
    }
}
