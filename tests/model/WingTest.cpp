// Wings: WING2 and WING3 forces against hand-computed values, control surfaces, mirroring,
// the air at the surface, and what a wing does with a missing or refused airfoil.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "AeroTestSupport.h"
#include "ModelTestSupport.h"
#include "model/CDegreeOfFreedom.h"
#include "model/CPartWing2.h"
#include "model/CPartWing3.h"
#include "model/PartClassTable.h"

using aero_test::ExpectNear;

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadPerDeg = kPi / 180.0f;

// Cl = alpha / 100 (deg), Cd = 0.02, Cp = 0.25: see AeroTestSupport.h.
const char* kAirfoilName = "WingTestLinear.afl";

// Flight at 20 m/s along -Z, sinking so that the air meets a level wing 5 degrees from below.
const float kSpeed = 20.0f;
const float kAlpha = 5.0f * kRadPerDeg;
const CVector3 kVelocity(0.0f, -kSpeed * std::sin(kAlpha), -kSpeed * std::cos(kAlpha));

class WingTest : public ::testing::Test
{
protected:
    void SetUp() override { fixture.dir.Write(std::string("Data/Airfoil/") + kAirfoilName, aero_test::kLinearAirfoil); }

    // Loads a model and links its parts (as the first frame would) without integrating.
    void LoadModel(const std::string& text)
    {
        model = fixture.Load(text);
        ASSERT_TRUE(fixture.loaded);
        for (int i = 0; i < model->GetPartCount(); ++i)
            model->GetPart(i)->ApplyProperties();
    }
    CPartWing2* Wing2(const char* name = "Wing")
    {
        return dynamic_cast<CPartWing2*>(model->FindPart(PART_WING2, name));
    }
    CPartWing3* Wing3(const char* name = "Wing")
    {
        return dynamic_cast<CPartWing3*>(model->FindPart(PART_WING3, name));
    }

    CDiagCapture diag;
    CModelFixture fixture;
    std::unique_ptr<CModel> model;
};

// A level 1 m x 0.2 m surface centred on the origin, control surface on V_CH1.
std::string Wing2Block(const std::string& extra = "")
{
    return std::string(".WING2 Wing {\n .AIRFOIL ") + kAirfoilName +
           " .CHORD 0.2 .SPAN 1.0 .POSITION 0 0 0 .POSITION_TYPE CENTER_LE .HEADING 0 .PITCH 0 .ROLL 0\n"
           " .CONTROL_SURFACE_MAX_ANGLE 20 .CONTROL_SURFACE_CHORD 0.3 .CONTROL_SURFACE_VARIABLE V_CH1 .3DMODEL_DOF Elevator\n" +
           extra + "}\n";
}

// Hand-computed forces of a surface of area 0.2 m^2 at 20 m/s and 5 degrees:
//   qS = 20^2 * 0.2 * 0.6125 = 49 N; Cl = 0.05 (+ dCl)
//   lift = qS Cl along Y - Ey E = cos5 * (0, cos5, -sin5)   (world, level flight)
//   drag = qS (0.02 + Cl^2 / (pi AR e)) along E = (0, sin5, cos5)
struct THandForces { CVector3 lift, drag; };

THandForces HandForces(float dCl, float aspectRatio, float efficiency)
{
    const float qS = 49.0f;
    const float cl = 0.05f + dCl;
    const float c = std::cos(kAlpha);
    const float s = std::sin(kAlpha);
    const float lift = qS * cl;
    const float drag = qS * (0.02f + cl * cl / (kPi * aspectRatio * efficiency));
    return {CVector3(0.0f, c, -s) * (lift * c), CVector3(0.0f, s, c) * drag};
}
} // namespace

TEST_F(WingTest, Wing2ForwardAxisFromZeroAnglesAndFromVectors)
{
    LoadModel(Wing2Block() + ".WING2 Vectors { .AIRFOIL " + kAirfoilName +
              " .POSITION 0 0.1 0 .POSITION_TYPE CENTER_LE .DIRECTION 0 0 -2 .NORMAL 0 1 0.3 }\n.WING2 Ignored { .AIRFOIL " +
              kAirfoilName + " .POSITION 0 0 0 .POSITION_TYPE CENTER_LE .DIRECTION 1 0 0 .HEADING 0 .PITCH 0 .ROLL 0 }\n");
    // Vectors: x = DIRECTION, y = NORMAL made perpendicular to it; POSITION (0, 0, 0) ignores DIRECTION.
    const CVector3 axes[] = {CVector3(0, 0, -1), CVector3(0, 1, 0), CVector3(1, 0, 0)};
    for (const char* name : {"Wing", "Vectors", "Ignored"})
        for (int row = 0; row < 3; ++row)
            ExpectNear(Wing2(name)->GetFrame().row[row], axes[row], 1e-6f, name);
}

TEST_F(WingTest, Wing2ForcesMatchHandComputedValuesInAnyAttitudeAndFollowTheControlSurface)
{
    CVariable* stick = fixture.Input("V_CH1", 0.0f);
    LoadModel(Wing2Block());
    CPartWing2* wing = Wing2();
    ASSERT_TRUE(wing->IsLinked());
    ASSERT_TRUE(wing->HasControlSurface());
    const CDegreeOfFreedom* dof = model->GetDegreesOfFreedom().Find("Elevator");
    ASSERT_NE(dof, nullptr);

    wing->CalcForces(0.005f); // at rest in still air there is no force
    EXPECT_TRUE(wing->GetForce(CPartWing2::kLiftForce).vector.IsZero() && wing->GetForce(CPartWing2::kDragForce).vector.IsZero());

    // Rolled 30 degrees and yawed 40, the same flight in body axes gives the same forces in body
    // axes. The control surface adds dCl = 0.4 * (deflection / 20 deg) * min(0.3 / 0.3, 1).
    const CMatrix3 level, turned = CMatrix3::FromEuler(40.0f * kRadPerDeg, 30.0f * kRadPerDeg, 0.0f);
    struct TCase { float stick, dCl; const CMatrix3& attitude; } cases[] = {
        {0.0f, 0.0f, level}, {0.0f, 0.0f, turned}, {0.5f, 0.2f, level}, {-0.5f, -0.2f, level}, {1.0f, 0.4f, turned},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "stick " << c.stick << (&c.attitude == &level ? ", level" : ", turned"));
        stick->SetValue(c.stick);
        model->GetBody().SetOrientation(c.attitude);
        model->GetBody().SetVelocity(kVelocity * c.attitude);
        wing->CalcForces(0.005f);
        const THandForces expected = HandForces(c.dCl, 5.0f, 0.7f); // AR = 1 / 0.2
        ExpectNear(wing->GetForce(CPartWing2::kLiftForce).vector, expected.lift * c.attitude, 1e-3f, "lift");
        ExpectNear(wing->GetForce(CPartWing2::kDragForce).vector, expected.drag * c.attitude, 1e-4f, "drag");
        EXPECT_NEAR(wing->GetAngleOfAttack(), kAlpha, 1e-5f);
        EXPECT_NEAR(wing->GetDeflection(), c.stick * 20.0f * kRadPerDeg, 1e-6f);
        EXPECT_NEAR(dof->Rotation().y, c.stick * 20.0f * kRadPerDeg, 1e-6f);
    }
    // Cp 0.25 of the 0.2 m chord behind the leading edge at the origin (forward is -Z).
    for (int force : {CPartWing2::kLiftForce, CPartWing2::kDragForce})
        ExpectNear(wing->GetForce(force).point, CVector3(0, 0, 0.05f), 1e-6f, "force point");

    // Mass: 7.5 * SPAN * CHORD^2.
    EXPECT_NEAR(wing->GetMassElement().Mass(), 7.5f * 1.0f * 0.04f, 1e-5f);
}

TEST_F(WingTest, WindAndSlipstreamChangeTheLocalAirspeed)
{
    // A 5 m/s headwind (blowing towards +Z, into the nose) makes 25 m/s of air: (25/20)^2 the force.
    CConstantWind headwind(CVector3(0.0f, 0.0f, 5.0f));
    fixture.services.wind = &headwind;
    fixture.Input("V_CH1", 0.0f);
    LoadModel(Wing2Block());
    CPartWing2* wing = Wing2();
    model->GetBody().SetVelocity(CVector3(0.0f, 0.0f, -kSpeed));
    wing->CalcForces(0.005f);
    // Zero angle of attack: only profile drag, qS = 0.6125 * 25^2 * 0.2.
    ExpectNear(wing->GetForce(CPartWing2::kDragForce).vector, CVector3(0, 0, 0.6125f * 625.0f * 0.2f * 0.02f), 1e-4f,
               "drag in 25 m/s of air");
}

TEST_F(WingTest, SlipstreamRaisesTheLocalAirspeed)
{
    // A wing half a metre behind a running propeller, the model at rest in still air: only the
    // slipstream blows over it, backwards (+Z), so it feels drag along +Z. With the engine's
    // forces switched off the model asks no slipstream and the wing feels nothing.
    fixture.Input("V_CH1", 0.0f);
    fixture.Input("V_CH3", 1.0f);
    LoadModel(std::string(".SERVO Throttle { .VARIABLE V_CH3 .SPEED 0.01 }\n.PROPELLER Prop { .DIAMETER 0.25 .PITCH 0.15"
                          " .CHORD_TO_DIAMETER_RATIO 0.08 .NUMBER_OF_BLADES 2 .AIRFOIL ") + kAirfoilName +
              " }\n.ENGINE_PROP Engine { .POSITION 0 0 -0.5 .MAX_TORQUE 1.0 .TOKEN_PROPELLER Prop .TOKEN_SERVO Throttle }\n" +
              Wing2Block());
    CPart* throttle = model->FindPart(PART_SERVO, "Throttle");
    CPartPhysic* engine = model->FindPart(PART_ENGINE_PROP, "Engine")->AsPhysic();
    ASSERT_TRUE(engine->IsLinked());
    throttle->UpdateFrame(1.0f);
    for (int i = 0; i < 200; ++i) // spin up
        engine->CalcForces(0.005f);

    CVector3 slipstream;
    ASSERT_TRUE(model->GetInducedWind(slipstream, Wing2()->GetSurfaceCentre()));
    ASSERT_GT(slipstream.z, 0.0f);
    Wing2()->CalcForces(0.005f);
    const CVector3 drag = Wing2()->GetForce(CPartWing2::kDragForce).vector;
    // Profile drag of the surface (0.2 m^2) in the slipstream's speed.
    EXPECT_NEAR(drag.z, 0.6125f * slipstream.LengthSquared() * 0.2f * 0.02f, 1e-5f);
    EXPECT_GT(drag.z, 0.0f);

    engine->SetEnableMask(engine->GetEnableMask() & ~CPart::kEnableForces);
    Wing2()->CalcForces(0.005f);
    EXPECT_EQ(Wing2()->GetForce(CPartWing2::kDragForce).vector, CVector3());
}

TEST_F(WingTest, Wing3SingleSegmentMatchesHandComputedValues)
{
    LoadModel(std::string(".WING3 Wing { .AIRFOIL ") + kAirfoilName + " .SYMMETRICAL 0 .HALF_SPAN 1.0 .ROOT_CHORD 0.2"
              " .TIP_CHORD 0.2 .EFFICIENCY 0.8 .DIHEDRAL 0 .NUMBER_OF_SEGMENTS 1 .SEG0_INCIDENCE_INC 0"
              " .DENSITY_KG_PER_SQ_METER 1.6 }\n");
    CPartWing3* wing = Wing3();
    ASSERT_TRUE(wing->IsLinked());
    ASSERT_EQ(wing->GetSegmentCount(), 1);
    const CPartWing3::TSegment& segment = wing->GetSegment(0);
    // The segment's centre on the leading edge, its chord C, normal U and span S.
    for (const auto& [actual, expected] : {std::pair{segment.point, CVector3(0.5f, 0, 0)}, {segment.chordDirection, {0, 0, 1}},
                                           {segment.normal, {0, 1, 0}}, {segment.spanDirection, {1, 0, 0}}})
        ExpectNear(actual, expected, 1e-6f, "segment frame");

    model->GetBody().SetVelocity(kVelocity);
    wing->CalcForces(0.005f);
    const THandForces expected = HandForces(0.0f, 5.0f, 0.8f);
    ExpectNear(wing->GetForce(0).vector, expected.lift, 1e-3f, "lift");
    ExpectNear(wing->GetForce(1).vector, expected.drag, 1e-4f, "drag");
    ExpectNear(wing->GetForce(0).point, CVector3(0.5f, 0, 0.05f), 1e-6f, "P + Cp chord C");
    // Mass: DENSITY * area * chord / 0.15.
    EXPECT_NEAR(wing->GetMassElement().Mass(), 1.6f * 0.2f * 0.2f / 0.15f, 1e-4f);

    // As a tail behind a wing with DOWNWASH 0.4: the flow is turned down by 0.4 times the body's
    // 5 degrees, so the surface meets it at 3 degrees.
    wing->GetSettings().downwash = 0.4f;
    wing->CalcForces(0.005f);
    EXPECT_NEAR(wing->GetSegment(0).alpha, 0.6f * kAlpha, 1e-4f);
}

TEST_F(WingTest, Wing3MirroredHalvesAreSymmetric)
{
    LoadModel(std::string(".WING3 Wing { .AIRFOIL ") + kAirfoilName + " .SYMMETRICAL 1 .HALF_SPAN 0.9 .ROOT_CHORD 0.25"
              " .TIP_CHORD 0.1 .INCIDENCE 2 .SWEEP_ANGLE 10 .DIHEDRAL 6 .POSITION 0 0.1 -0.2 .NUMBER_OF_SEGMENTS 3 }\n");
    CPartWing3* wing = Wing3();
    ASSERT_TRUE(wing->IsLinked());
    ASSERT_EQ(wing->GetSegmentCount(), 6);
    EXPECT_NEAR(wing->GetAspectRatio(), 2.0f * 0.9f / 0.175f, 1e-5f);

    model->GetBody().SetVelocity(kVelocity);
    wing->CalcForces(0.005f);
    const auto mirror = [](const CVector3& v) { return CVector3(-v.x, v.y, v.z); };
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_GT(wing->GetSegment(i).point.x, 0.0f);
        ExpectNear(wing->GetForce(2 * (3 + i)).vector, mirror(wing->GetForce(2 * i).vector), 1e-5f, "lift");
        ExpectNear(wing->GetForce(2 * (3 + i) + 1).vector, mirror(wing->GetForce(2 * i + 1).vector), 1e-5f, "drag");
        ExpectNear(wing->GetForce(2 * (3 + i)).point, mirror(wing->GetForce(2 * i).point), 1e-6f, "point");
        EXPECT_GT(wing->GetForce(2 * i).vector.y, 0.0f);
    }
    // Dihedral tilts the right half's normal inwards (towards -X), and the tip chord is smaller.
    EXPECT_LT(wing->GetSegment(0).normal.x, 0.0f);
    EXPECT_GT(wing->GetSegment(0).chord, wing->GetSegment(2).chord);
    // A positive incidence lowers the trailing edge.
    EXPECT_LT(wing->GetSegment(0).chordDirection.y, 0.0f);
}

TEST_F(WingTest, Wing3ServosDeflectBothHalvesWithTheirOwnReverseFlags)
{
    fixture.Input("V_CH1", 1.0f);
    LoadModel(std::string(".SERVO Ail { .VARIABLE V_CH1 .SPEED 0.01 }\n.WING3 Wing { .AIRFOIL ") + kAirfoilName +
              " .SYMMETRICAL 1 .NUMBER_OF_SEGMENTS 1 .SEG0_SERVO Ail .SEG0_SERVO_SYMMETRICAL Ail .SEG0_MAX_DEFLECTION_ANGLE 20"
              " .SEG0_CONTROL_CHORD_FRACTION 0.3 .SEG0_DOF AileronR .SEG0_DOF_SYMMETRICAL AileronL }\n");
    model->FindPart(PART_SERVO, "Ail")->UpdateFrame(1.0f); // far longer than the travel time
    CPartWing3* wing = Wing3();
    model->GetBody().SetVelocity(kVelocity);
    wing->CalcForces(0.005f);

    // SEG0_SERVO_REV defaults to true, SEG0_SERVO_REV_SYMMETRICAL to false.
    EXPECT_NEAR(wing->GetSegment(0).deflection, -20.0f * kRadPerDeg, 1e-6f);
    EXPECT_NEAR(wing->GetSegment(1).deflection, 20.0f * kRadPerDeg, 1e-6f);
    EXPECT_NEAR(model->GetDegreesOfFreedom().Find("AileronR")->Rotation().y, -20.0f * kRadPerDeg, 1e-6f);
    EXPECT_NEAR(model->GetDegreesOfFreedom().Find("AileronL")->Rotation().y, 20.0f * kRadPerDeg, 1e-6f);
    // Full deflection and chord fraction: dCl = -0.4 on the right and +0.4 on the left, so the
    // left lift exceeds the mirrored right one by qS * 0.8 along a lift direction of length
    // cos(alpha) (alpha a little over 5 degrees with the incidence and dihedral).
    const float qS = 0.6125f * kSpeed * kSpeed * (0.7f * 0.125f);
    const CVector3 right = wing->GetForce(0).vector;
    const CVector3 difference = wing->GetForce(2).vector - CVector3(-right.x, right.y, right.z);
    EXPECT_GT(difference.y, 0.0f);
    // (The dihedral turns a hundredth of the flow spanwise, which lifts nothing.)
    EXPECT_NEAR(difference.Length(), 0.8f * qS * std::cos(wing->GetSegment(1).alpha), 2e-3f * qS);
}

TEST_F(WingTest, SpanwiseFlowLiftsNothing)
{
    // The independence principle: a flat-bottomed section in a breeze along its span, a little
    // above its plane, lifts as the cross flow alone does; the whole breeze once gave it the
    // section's lift at the breeze's elevation (a parked model tipped over in a side wind).
    LoadModel(Wing2Block());
    CPartWing2* wing = Wing2();
    const float elevation = 10.0f * kRadPerDeg;
    model->GetBody().SetVelocity(CVector3(-10.0f * std::cos(elevation), -10.0f * std::sin(elevation), 0.0f));
    wing->CalcForces(0.005f);
    EXPECT_LT(wing->GetForce(0).vector.Length(), 1e-4f);
    model->GetBody().SetVelocity(CVector3(-10.0f, -1.0f, -10.0f)); // 45 deg of sideslip
    wing->CalcForces(0.005f);
    // Cross flow (0, 1, 10): qS = 101 * 0.2 * 0.6125, Cl = atan(0.1) in degrees / 100.
    const float cl = std::atan(0.1f) / kRadPerDeg / 100.0f;
    EXPECT_NEAR(wing->GetForce(0).vector.Length(), 101.0f * 0.2f * 0.6125f * cl * std::cos(std::atan(0.1f)), 1e-3f);
}

TEST_F(WingTest, MissingOrRefusedAirfoilGivesAMessageAndNoForce)
{
    const struct { const char* airfoil; const char* reason; } cases[] = {
        {"Missing.afl", "cannot be read"},
        // AirfoilThatClimbsOutOfItsFolderIsReportedAsNotGiven (the other shapes of such names:
        // File.PlainDataNames)
        {"../Airfoil/WingTestLinear.afl", "is not a plain"},
        {"NoTables.afl", "has no usable coefficient table"},
    };
    fixture.dir.Write("Data/Airfoil/NoTables.afl", ".NAME \"empty\"\n.TABLE_ALPHA_CD { 0 zero }\n");
    fixture.Input("V_CH1", 1.0f);
    for (const auto& c : cases)
        for (const char* block : {"WING2", "WING3"})
        {
            SCOPED_TRACE(std::string(block) + " " + c.airfoil);
            diag.lines.clear();
            LoadModel(std::string(".") + block + " Wing { .AIRFOIL " + c.airfoil +
                      " .POSITION_TYPE CENTER_LE .CONTROL_SURFACE_VARIABLE V_CH1 }\n");
            CPartPhysic* wing = model->FindPart(block[4] == '2' ? PART_WING2 : PART_WING3, "Wing")->AsPhysic();
            EXPECT_FALSE(wing->IsLinked());
            EXPECT_TRUE(diag.Contains(StringPrintf("test.mod: %s 'Wing': AIRFOIL '%s' %s", block, c.airfoil, c.reason)));
            model->GetBody().SetVelocity(kVelocity);
            wing->CalcForces(0.005f);
            for (int i = 0; i < wing->GetForceCount(); ++i)
                EXPECT_EQ(wing->GetForce(i).vector, CVector3());
        }
}

TEST_F(WingTest, Wing2WithAnUnknownPositionTypeIsNotLinked)
{
    LoadModel(std::string(".WING2 Wing { .AIRFOIL ") + kAirfoilName + " .POSITION_TYPE MIDDLE }\n");
    EXPECT_FALSE(Wing2()->IsLinked());
    EXPECT_TRUE(diag.Contains("test.mod: WING2 'Wing': POSITION_TYPE 'MIDDLE' is none of"));
}

