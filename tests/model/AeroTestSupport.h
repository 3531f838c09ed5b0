#pragma once
// Shared fixtures of the airfoil and wing tests: airfoils made from text, a capture of the
// diagnostic output, vector comparisons.

#include "support/DiagCapture.h"
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/CVector3.h"
#include "core/Diagnostics.h"
#include "data/CTokenFile.h"
#include "model/CAirfoil.h"

namespace aero_test
{

// An airfoil read from the text of an .afl file.
inline std::unique_ptr<CAirfoil> AirfoilFromText(const std::string& text, const std::string& fileName = "Test.afl")
{
    CTokenFile file;
    EXPECT_TRUE(file.LoadText(text, fileName));
    auto airfoil = std::make_unique<CAirfoil>();
    EXPECT_TRUE(airfoil->LoadFrom(file, fileName));
    return airfoil;
}

// Cl = alpha / 100 (alpha in degrees), Cd = 0.02 and Cp = 0.25 at every angle: exact under
// linear interpolation, so forces can be computed by hand.
inline const char* kLinearAirfoil = ".TABLE_ALPHA_CL_CD_CP { -180 -1.8 0.02 0.25  180 1.8 0.02 0.25 }\n";

inline void ExpectNear(const CVector3& actual, const CVector3& expected, float tolerance, const char* what = "")
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}
} // namespace aero_test
