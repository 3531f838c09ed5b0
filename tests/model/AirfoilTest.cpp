// Airfoil files, the combined coefficient table, the shared airfoil list and the NACA shape.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "AeroTestSupport.h"
#include "ModelTestSupport.h"
#include "data/CFile.h"
#include "model/AirfoilAerodynamics.h"
#include "model/CAirfoil.h"
#include "model/CAirfoilList.h"
#include "model/CPart.h"
#include "support/DataDir.h"

using aero_test::AirfoilFromText;
using aero_test::ExpectNear;

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadPerDeg = kPi / 180.0f;

struct Coefficients { float cl, cd, cp; };

Coefficients At(const CAirfoil& airfoil, float alphaDeg)
{
    Coefficients c{};
    airfoil.GetCoefficients(alphaDeg * kRadPerDeg, c.cl, c.cd, c.cp);
    return c;
}

void ExpectCoefficients(const Coefficients& got, const Coefficients& expected, float tolerance, const std::string& what)
{
    EXPECT_NEAR(got.cl, expected.cl, tolerance) << what;
    EXPECT_NEAR(got.cd, expected.cd, tolerance) << what;
    EXPECT_NEAR(got.cp, expected.cp, tolerance) << what;
}

// A file folder of its own, as the working directory, for the loader's tests.
class AirfoilFolder : public ::testing::Test
{
protected:
    void Write(const std::string& name, const std::string& text) { m_data.Write("Data/Airfoil/" + name, text); }
    TempDataDir m_data;
};

// The airfoil files delivered in Data/Airfoil/, read through the loader from the source tree.
class DeliveredAirfoils : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(m_data / "NACA0012.afl"))
            GTEST_SKIP() << "no delivered airfoils in " << m_data;
        m_cwd.emplace(SourceDir());
        InitBaseDirectory();
    }
    void TearDown() override
    {
        m_cwd.reset();
        InitBaseDirectory();
    }
    const std::filesystem::path m_data = SourceDir() / "Data" / "Airfoil";
    CDiagCapture m_diag;
    std::optional<ScopedWorkingDir> m_cwd;
    CAirfoilList m_list;
};
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

TEST(AirfoilTest, AnglesWrapIntoOneTurn)
{
    // Cl = alpha / 100 over -180..180, so Cl shows which angle was looked up.
    CDiagCapture quiet;
    const auto airfoil = AirfoilFromText(aero_test::kLinearAirfoil);
    const struct { float alphaDeg, lookedUpDeg; } cases[] = {
        {190.0f, -170.0f},  // one correction
        {-180.0f, 180.0f},  // (-180, 180]: -180 reads the +180 row
        {180.0f, 180.0f},
        {370.0f, 10.0f},
        {900.0f, 180.0f},   // several turns, which one correction alone would extrapolate
        {-1000.0f, 80.0f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(At(*airfoil, c.alphaDeg).cl, c.lookedUpDeg / 100.0f, 2e-4f) << c.alphaDeg;
    ExpectCoefficients(At(*airfoil, std::nanf("")), {0.0f, 0.0f, CAirfoil::kDefaultCp}, 0.0f, "not a number");
}

TEST(AirfoilTest, TablePrecedence)
{
    CDiagCapture quiet;
    struct Case { std::string text; Coefficients expected; const char* why; };
    const std::string cd = ".TABLE_ALPHA_CD { -180 0.5  180 0.5 }\n";
    const std::string clcm = ".TABLE_ALPHA_CL_CM { -180 0.7 -0.1  180 0.7 -0.1 }\n";
    const std::string full = ".TABLE_ALPHA_CL_CD_CP { -180 1.1 0.2 0.4  180 1.1 0.2 0.4 }\n";
    const Case cases[] = {
        {"", {0.0f, 0.0f, 0.3f}, "no table: defaults"},
        {cd, {0.0f, 0.5f, 0.3f}, "Cd only"},
        {clcm, {0.7f, 0.0f, 0.3f}, "Cl only; Cm is never used"},
        {cd + clcm, {0.7f, 0.5f, 0.3f}, "Cd and Cl combine"},
        {cd + clcm + full, {1.1f, 0.2f, 0.4f}, "the full table overrides both"},
    };
    for (const Case& c : cases)
    {
        const auto airfoil = AirfoilFromText(c.text);
        for (float alpha : {-120.0f, 0.0f, 33.0f})
            ExpectCoefficients(At(*airfoil, alpha), c.expected, 1e-6f, c.why);
    }
}

// (A symmetrical combined table is mirrored as TableData.MirrorNegatesKeyAndOneColumn mirrors; the
// shipped NACA0012's is, in DeliveredAirfoils.AreSane.)
TEST(AirfoilTest, SymmetricalDragTableIsMirroredNotExtrapolated)
{
    // Regression: a half-range Cd table used to be only sorted, so negative angles were
    // extrapolated from its first rows and soon gave negative drag.
    CDiagCapture quiet;
    const auto airfoil = AirfoilFromText(".SYMMETRICAL 1\n.TABLE_ALPHA_CD { 0 0.01  10 0.05  90 1.8  180 0.03 }\n");
    for (float a : {5.0f, 30.0f, 90.0f, 170.0f})
        EXPECT_NEAR(At(*airfoil, -a).cd, At(*airfoil, a).cd, 2e-5f) << a;
    EXPECT_GT(At(*airfoil, -90.0f).cd, 1.7f);
}

TEST(AirfoilTest, BrokenTablesAreDroppedWithTheFileAndKey)
{
    struct Case { const char* text; const char* message; bool tableKept; };
    const Case cases[] = {
        {".TABLE_ALPHA_CD { 0 0.01  10 zero  20 0.03 }", "'zero' is not a number", false},
        {".TABLE_ALPHA_CD { 0 0.01  10 nan }", "'nan' is not a number", false},
        {".TABLE_ALPHA_CD { 0 0.01  10 1e60 }", "'1e60' is not a number", false},
        {".TABLE_ALPHA_CD { 0 0.01 }", "fewer than two rows", false},
        {".TABLE_ALPHA_CD { 0 0.01  10 0.02  20 }", "the last row is incomplete", true},
        {".TABLE_ALPHA_CD { 0 0.01 { 10 0.02 } }", "'{' is not a number", false},
    };
    for (const Case& c : cases)
    {
        CDiagCapture diag;
        const auto airfoil = AirfoilFromText(c.text, "Broken.afl");
        EXPECT_TRUE(diag.Contains("Data/Airfoil/Broken.afl: TABLE_ALPHA_CD")) << c.text;
        EXPECT_TRUE(diag.Contains(c.message)) << c.text;
        EXPECT_EQ(airfoil->GetAlphaCd() != nullptr, c.tableKept) << c.text;
        EXPECT_EQ(airfoil->GetCombinedTable().GetRowCount(), CAirfoil::kCombinedRows) << c.text;
        float cl, cd, cp;
        airfoil->GetCoefficients(0.1f, cl, cd, cp);
        EXPECT_TRUE(std::isfinite(cd)) << c.text;
    }
}

TEST(AirfoilTest, PartialCoverageIsReported)
{
    CDiagCapture diag;
    AirfoilFromText(".TABLE_ALPHA_CL_CM { -10 -1 0  10 1 0 }", "Short.afl");
    EXPECT_TRUE(diag.Contains("TABLE_ALPHA_CL_CM covers only -10.0 .. 10.0 degrees"));
}

TEST(AirfoilTest, NacaShapeMatchesHandComputedPoints)
{
    CDiagCapture quiet;
    CAirfoil airfoil;
    ASSERT_TRUE(airfoil.GenerateNacaShape("naca2412"));
    const TTableData* shape = airfoil.GetShape();
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetRowCount(), CAirfoil::kShapeRows);
    // NACA 2412: m = 0.02, p = 0.4, t = 0.12.
    // x = 0.1: yc = (0.8 - 0.1) * 0.1 * 0.02 / 0.16 = 0.00875;
    //          yt = 0.12 * (1.4845 * 0.316228 - 0.063 - 0.01758 + 0.0014215 - 0.00005075) = 0.0468277
    // x = 0.4: yc = 0.4 * 0.4 * 0.02 / 0.16 = 0.02 (the maximum camber);
    //          yt = 0.12 * (0.938850 - 0.252 - 0.28128 + 0.090976 - 0.012992) = 0.0580301
    // x = 0.7: yc = 0.3 * 0.9 * 0.02 / 0.36 = 0.015; yt = 0.0366391
    // x = 1.0: yc = 0; yt = 0.12 * 0.0105 = 0.00126 (the trailing edge stays open)
    struct Point { int row; float upper, lower; };
    const Point points[] = {
        {0, 0.0f, 0.0f},
        {10, 0.00875f + 0.0468277f, 0.00875f - 0.0468277f},
        {40, 0.02f + 0.0580301f, 0.02f - 0.0580301f},
        {70, 0.015f + 0.0366391f, 0.015f - 0.0366391f},
        {100, 0.00126f, -0.00126f},
    };
    for (const Point& p : points)
        ExpectCoefficients({shape->GetKey(p.row), shape->GetValue(p.row, 0), shape->GetValue(p.row, 1)},
                   {p.row * 0.01f, p.upper, p.lower}, 2e-6f, "row " + std::to_string(p.row));

    // A symmetrical section has no camber; a name that is not four digits changes nothing.
    ASSERT_TRUE(airfoil.GenerateNacaShape("NACA0012"));
    EXPECT_NEAR(airfoil.GetShape()->GetValue(30, 0), -airfoil.GetShape()->GetValue(30, 1), 1e-7f);
    const float before = airfoil.GetShape()->GetValue(30, 0);
    EXPECT_FALSE(airfoil.GenerateNacaShape("NACA.afl"));
    EXPECT_FALSE(airfoil.GenerateNacaShape("NACA24120"));
    EXPECT_EQ(airfoil.GetShape()->GetValue(30, 0), before);
}

TEST_F(AirfoilFolder, ListSharesOneAirfoilPerFileAndForgetsFailures)
{
    CDiagCapture quiet;
    Write("Flat.afl", aero_test::kLinearAirfoil);
    CAirfoilList list;
    CAirfoil* first = list.Get("Flat.afl");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(list.Get("FLAT.AFL"), first) << "one airfoil per file, whatever the case";
    EXPECT_NEAR(At(*first, 20.0f).cl, 0.2f, 1e-4f);

    // (A name that climbs out: WingTest.MissingOrRefusedAirfoilGivesAMessageAndNoForce; every shape of
    // such a name: File.PlainDataNames.)
    std::string reason;
    EXPECT_EQ(list.Get("", &reason), nullptr);
    EXPECT_EQ(list.Get("Later.afl", &reason), nullptr);
    EXPECT_EQ(list.Count(), 1);

    // A failure is not remembered: once the file exists it loads.
    Write("Later.afl", aero_test::kLinearAirfoil);
    EXPECT_NE(list.Get("Later.afl"), nullptr);
    EXPECT_EQ(list.Count(), 2);

    // A file the token reader refuses (an unterminated comment) is no airfoil either.
    Write("Cut.afl", ".NAME \"Cut\" /* never closed");
    EXPECT_EQ(list.Get("Cut.afl", &reason), nullptr);
}

TEST(AirfoilTest, PartsTakeTheirAirfoilsFromTheModelsList)
{
    CDiagCapture quiet;
    CModelFixture fixture;
    fixture.dir.Write("Data/Airfoil/Own.afl", aero_test::kLinearAirfoil);
    CAirfoilList own;
    fixture.services.airfoils = &own;
    const int sharedBefore = CAirfoilList::Shared().Count();
    auto model = fixture.Load(".WING2 Wing\n{\n .AIRFOIL Own.afl\n .CHORD 0.2\n .SPAN 1.0\n}\n"
                              ".WING3 Tail\n{\n .AIRFOIL Own.afl\n}\n"
                              ".PROPELLER Prop\n{\n .DIAMETER 0.25\n .PITCH 0.15\n .AIRFOIL Own.afl\n}\n");
    ASSERT_TRUE(fixture.loaded);
    for (int i = 0; i < model->GetPartCount(); ++i)
        model->GetPart(i)->ApplyProperties();
    EXPECT_EQ(own.Count(), 1);
    EXPECT_EQ(CAirfoilList::Shared().Count(), sharedBefore);
}

// The airfoil files delivered in Data/Airfoil/, read through the loader, against published
// section data (see the reference notes): coarse bounds that catch a wrong column or sign.
TEST_F(DeliveredAirfoils, AreSane)
{
    CAirfoilList& list = m_list;

    CAirfoil* naca0012 = list.Get("NACA0012.afl");
    ASSERT_NE(naca0012, nullptr);
    EXPECT_NEAR(At(*naca0012, 0.0f).cl, 0.0f, 0.02f);
    float clMax = 0.0f, clMaxAlpha = 0.0f;
    for (float a = 0.0f; a <= 25.0f; a += 0.5f)
        if (At(*naca0012, a).cl > clMax)
            std::tie(clMax, clMaxAlpha) = std::pair(At(*naca0012, a).cl, a);
    EXPECT_GE(clMax, 0.95f);
    EXPECT_LE(clMax, 1.3f);
    EXPECT_GE(clMaxAlpha, 10.0f);
    EXPECT_LE(clMaxAlpha, 16.0f);
    EXPECT_NEAR(At(*naca0012, -90.0f).cd, 1.8f, 0.25f); // the file's half range, mirrored
    EXPECT_NEAR(At(*naca0012, -30.0f).cl, -At(*naca0012, 30.0f).cl, 0.02f); // past the stall: not extrapolated
    EXPECT_GT(At(*naca0012, 0.0f).cd, 0.0f);
    EXPECT_LT(At(*naca0012, 0.0f).cd, 0.03f);

    for (const char* name : {"ClarkY.afl", "NACA2412.afl"})
    {
        CAirfoil* cambered = list.Get(name);
        ASSERT_NE(cambered, nullptr) << name;
        for (float a = -180.0f; a <= 180.0f; a += 1.0f)
            ASSERT_GT(At(*cambered, a).cd, 0.0f) << name << " at " << a;
    }
    // Clark Y: cl0 0.52 with alpha from the chord line; the delivered file measures alpha from
    // the flat lower surface, which adds about a degree and a tenth of lift.
    EXPECT_GT(At(*list.Get("ClarkY.afl"), 0.0f).cl, 0.4f);
    EXPECT_LT(At(*list.Get("ClarkY.afl"), 0.0f).cl, 0.7f);
    EXPECT_NEAR(At(*list.Get("NACA2412.afl"), 0.0f).cl, 0.28f, 0.1f);
}

// The lookups in flight read a copy of the combined table with their own segment search; they
// must give TTableData's answer to the bit, or every recorded flight would drift.
TEST_F(DeliveredAirfoils, FlightLookupMatchesTheCombinedTableToTheBit)
{
    for (const auto& entry : std::filesystem::directory_iterator(m_data))
    {
        const std::string name = entry.path().filename().string();
        const CAirfoil* airfoil = m_list.Get(name);
        ASSERT_NE(airfoil, nullptr) << name;
        const TTableData& table = airfoil->GetCombinedTable();
        // Every key, the points just beside it, and a fine sweep of angles in between.
        std::vector<float> angles;
        for (int row = 0; row < table.GetRowCount(); ++row)
        {
            const float key = table.GetKey(row);
            angles.insert(angles.end(), {key, std::nextafter(key, -1000.0f), std::nextafter(key, 1000.0f)});
        }
        for (float a = -180.0f; a <= 180.0f; a += 0.0137f)
            angles.push_back(a);
        for (const float alphaDeg : angles)
        {
            float cl = 0.0f, cd = 0.0f, cp = 0.0f;
            airfoil->GetCoefficients(alphaDeg / CAirfoil::kDegPerRad, cl, cd, cp);
            float expected[3] = {};
            float wrapped = (alphaDeg / CAirfoil::kDegPerRad) * CAirfoil::kDegPerRad;
            if (!(wrapped > -180.0f))
                wrapped += 360.0f;
            else if (wrapped > 180.0f)
                wrapped -= 360.0f;
            ASSERT_TRUE(table.Lookup(wrapped, expected, 3));
            ASSERT_TRUE(cl == expected[0] && cd == expected[1] && cp == expected[2]) << name << " at " << alphaDeg;
        }
    }
}

// --- CalcAirfoilAerodynamicForces and the control-surface increment against hand-computed values
// (the ordinary case, in any attitude, through the wings in WingTest).

TEST(AirfoilAerodynamicsTest, ControlSurfaceIncrement)
{
    struct Case { float deflectionDeg, chordFraction, dCl; const char* why; float maxLift = 0.4f; };
    const Case cases[] = {
        {20.0f, 0.3f, 0.4f, "full effect at 20 deg and 0.3"},
        {30.0f, 0.5f, 0.4f, "both factors saturate"},
        {-30.0f, 0.5f, -0.6f, "a negative deflection has no lower clamp"},
        {10.0f, 0.15f, 0.1f, "half and half"}, // (+-10 deg at 0.3: WingTest's half stick)
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
    CDiagCapture quiet;
    const auto airfoil = AirfoilFromText(aero_test::kLinearAirfoil);
    const TResult r = Calc(CVector3(0, 10, 0), CMatrix3(), 0.5f, 4.0f, 0.9f, 0.0f, 0.3f, airfoil.get());
    ExpectNear(r.lift, CVector3(), 1e-5f, "no lift");
    ExpectNear(r.drag, CVector3(0, 30.625f * (0.02f + 0.81f / (kPi * 3.6f)), 0), 1e-4f, "drag");
    EXPECT_NEAR(r.alpha, kPi / 2.0f, 1e-6f);
    EXPECT_NEAR(r.cp, 0.25f, 1e-6f);
}

TEST(AirfoilAerodynamicsTest, LiftingLineTakesTheInducedAngleOff)
{
    // Cl = 0.5729578 x (x in rad) and k = pi AR e = pi (AR 2, e 0.5): x + (Cl(x) + dCl) / k = alpha
    // gives x = (alpha - dCl / pi) / (1 + 0.5729578 / pi) = (alpha - dCl / pi) / 1.1823784.
    CDiagCapture quiet;
    const auto airfoil = AirfoilFromText(aero_test::kLinearAirfoil);
    struct Row { float alphaDeg, dCl, effective; };
    const Row rows[] = {{10.0f, 0.0f, 0.1476118f}, {10.0f, 0.4f, 0.0399271f}, {-30.0f, 0.0f, -0.4428354f}};
    for (const Row& row : rows)
        EXPECT_NEAR(InducedAngleOfAttack(row.alphaDeg * kRadPerDeg, row.dCl, kPi, *airfoil), row.effective, 1e-5f)
            << row.alphaDeg << " " << row.dCl;
}

// The solve skips the last halvings once the bracket lies in one table segment, and starts from
// its last answer when given one: either way it must land where halving all the way does, on the
// delivered fin and wing sections, at a fin's and a wing's k, across every angle and with the
// rudder either way (past the stall too, where g may have several roots and halving picks one of
// them), started from the last angle's answer or from one far away.
TEST(AirfoilAerodynamicsTest, LiftingLineSolveMatchesHalvingAllTheWay)
{
    CDiagCapture quiet;
    for (const char* name : {"NACA0012.afl", "ClarkYWing.afl"})
    {
        std::string text;
        ASSERT_TRUE(ReadWholeFile((SourceDir() / "Data" / "Airfoil" / name).string(), text)) << name;
        const auto airfoil = AirfoilFromText(text, name);
        for (float k : {kPi * 1.33f * 0.7f, kPi * 6.0f * 0.8f})
            for (float dCl : {-0.6f, 0.0f, 0.6f})
            {
                TInducedAngleStart following, far;
                for (float alphaDeg = -90.0f; alphaDeg <= 90.0f; alphaDeg += 0.37f)
                {
                    const float alpha = alphaDeg * kRadPerDeg;
                    float low = alpha - (2.5f + std::fabs(dCl)) / k, high = alpha + (2.5f + std::fabs(dCl)) / k;
                    for (int i = 0; i < 40; ++i)
                    {
                        const float x = 0.5f * (low + high);
                        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
                        airfoil->GetCoefficients(x, cl, cd, cp);
                        (x + (cl + dCl) / k > alpha ? high : low) = x;
                    }
                    far.effective = -alpha;
                    for (TInducedAngleStart* start : {static_cast<TInducedAngleStart*>(nullptr), &following, &far})
                        EXPECT_NEAR(InducedAngleOfAttack(alpha, dCl, k, *airfoil, start), 0.5f * (low + high), 1e-5f)
                            << name << " k " << k << " dCl " << dCl << " alpha " << alphaDeg << " start " << !!start;
                    // Below the stall the root is the only one, and the last answer is used.
                    EXPECT_TRUE(std::fabs(alpha - dCl / k) > 0.1f || following.warm) << alphaDeg;
                }
            }
    }
}

TEST(AirfoilAerodynamicsTest, DegenerateInputsGiveFiniteOrZeroForces)
{
    CDiagCapture quiet;
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
