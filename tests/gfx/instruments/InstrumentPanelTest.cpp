// Instrument panel: the units table, panel files with faults, and every gauge's reading and
// texts from a small model flown a few frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gfx/instruments/CInsAirSpeed.h"
#include "gfx/instruments/CInsAltimeter.h"
#include "gfx/instruments/CInsAngleOfAttack.h"
#include "gfx/instruments/CInsArtificialHorizon.h"
#include "gfx/instruments/CInsClimbRate.h"
#include "gfx/instruments/CInsCompass.h"
#include "gfx/instruments/CInsFeedback.h"
#include "gfx/instruments/CInstrumentPanel.h"
#include "gfx/instruments/Units.h"
#include "model/CModel.h"
#include "support/DiagCapture.h"
#include "gfx/instruments/PanelTestModel.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadPerDeg = kPi / 180.0f;

// ---------------------------------------------------------------- units

// si: value in SI
// shown: "%.1f" of the converted value and the short name
struct TUnitCase { const char* token; int kind; int index; float si; const char* shown; };

TEST(Units, TableConvertsEveryRow)
{
    const TUnitCase cases[] = {
        {"METER", UNIT_KIND_LENGTH, 0, 12.0f, "12.0m"},
        {"KILOMETER", UNIT_KIND_LENGTH, 1, 2500.0f, "2.5km"},
        {"MILE", UNIT_KIND_LENGTH, 2, 1609.344f, "1.0mi"},
        {"NAUTICAL_MILE", UNIT_KIND_LENGTH, 3, 926.0f, "0.5naut mi"},
        {"YARD", UNIT_KIND_LENGTH, 5, 9.144f, "10.0yd"},
        {"METER_PER_SECOND", UNIT_KIND_SPEED, 6, 7.5f, "7.5m/s"},
        {"MILE_PER_HOUR", UNIT_KIND_SPEED, 8, 4.4704f, "10.0mph"},
    };
    for (const TUnitCase& c : cases)
    {
        SCOPED_TRACE(c.token);
        EXPECT_EQ(UnitFromToken(c.token, c.kind), c.index);
        EXPECT_EQ(StringPrintf("%.1f%s", ConvertToUnit(c.si, c.index), UnitShortName(c.index)), c.shown);
        // The other kind never matches: a speed unit is no altimeter unit.
        EXPECT_EQ(UnitFromToken(c.token, 1 - c.kind), UNIT_UNKNOWN);
    }
    EXPECT_STREQ(UnitShortName(-3), "UNKNOWN"); // outside the table: the unknown row
    EXPECT_FLOAT_EQ(ConvertToUnit(5.0f, 99), 5.0f);
}

// ---------------------------------------------------------------- a model with a panel

const char* const kFullPanel = R"(
.Instruments
{
  .VARIABLE V_AS { .DESCRIPTION "airspeed" }
  .VARIABLE V_ALT { }
  .VARIABLE V_AOA { }
  .VARIABLE V_SLIDE { }
  .VARIABLE V_PITCH { }
  .VARIABLE V_ROLL { }
  .VARIABLE V_VS { }
  .VARIABLE V_HDG { }
  .VARIABLE V_DT { }
  .VARIABLE V_AGL { }
}
.AIR_SPEED { .DESCRIPTION "Air Speed" .POSITION 0 0 .VARIABLE_AIR_SPEED V_AS }
.ALTIMETER { .DESCRIPTION "Altitude" .POSITION 80 0 .UNITS FOOT .VARIABLE_ALTITUDE V_ALT }
.ANGLE_OF_ATTACK Aoa { .DESCRIPTION "AoA" .POSITION 160 0 .LEFT_WING WingL .RIGHT_WING WingR
                       .REPRESENTATION_MODEL BOTH_ANGLES .VARIABLE_ANGLE_ATTACK V_AOA }
.ANGLE_OF_SLIDE { .DESCRIPTION "Slide" .POSITION 240 0 .VARIABLE_ANGLE_SLIDE V_SLIDE }
.ARTIFICIAL_HORIZON { .DESCRIPTION "Horizon" .POSITION 320 0 .VARIABLE_PITCH_ANGLE V_PITCH .VARIABLE_ROLL_ANGLE V_ROLL }
.CLIMB_RATE { .DESCRIPTION "Climb" .POSITION 400 0 .UNITS FOOT_PER_MINUTE .VARIABLE_VERTICAL_SPEED V_VS }
.INPUT_FEEDBACK { .DESCRIPTION "Sticks" .POSITION 480 0 .LEFT_STICK_X V_CH4 .LEFT_STICK_Y V_CH3 .RIGHT_STICK_X V_CH1 .RIGHT_STICK_Y V_CH2 }
.COMPASS { .DESCRIPTION "Heading" .POSITION 560 0 .VARIABLE_HEADING V_HDG }
.AIR_SPEED { .DESCRIPTION "Knots" .POSITION 0 80 .UNITS KNOT .VARIABLE_AIR_SPEED V_AS }
.INSIDE_VARIABLES { .VARIABLE_INTEGRATION_STEP V_DT .VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN V_AGL }
)";

class PanelFixture : public ::testing::Test, public CPanelTestModel
{
protected:
    CBInstrument* Gauge(const std::string& description) const
    {
        for (int i = 0; i < Panel()->GetInstrumentCount(); ++i)
            if (Panel()->GetInstrument(i)->GetDescription() == description)
                return Panel()->GetInstrument(i);
        return nullptr;
    }
};

TEST_F(PanelFixture, FullPanelLoadsInPassOrderAndJoinsTheSearchList)
{
    CModel& model = Load(kFullPanel);
    CInstrumentPanel* panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsValid());
    // One block of each type per pass: the second AIR_SPEED comes after the first COMPASS.
    const char* expected[] = {"AIR_SPEED",    "ALTIMETER",          "ANGLE_OF_ATTACK", "ANGLE_OF_SLIDE", "ARTIFICIAL_HORIZON",
                              "CLIMB_RATE",   "INPUT_FEEDBACK",     "COMPASS",         "AIR_SPEED"};
    ASSERT_EQ(panel->GetInstrumentCount(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(panel->GetInstrument(i)->GetTypeName(), expected[i]) << i;
    EXPECT_EQ(panel->GetInstrument(8)->GetDescription(), "Knots");
    // The model's functions can read the gauges.
    EXPECT_NE(model.GetVariableSearchList().Find("V_AS"), nullptr);
}

TEST_F(PanelFixture, GaugesReadTheModelFlownAFewFrames)
{
    CModel& model = Load(kFullPanel, false);
    CInstrumentPanel* panel = Panel();
    ASSERT_NE(panel, nullptr);
    // 100 km/h level along -Z, climbing at 1 m/s, 50 m up, heading 270 (nose toward -X).
    CEngineDynamic& body = model.GetBody();
    body.SetPosition(CVector3(0.0f, 50.0f, 0.0f));
    const float speed = 100.0f / 3.6f;
    body.SetVelocity(CVector3(-speed, 1.0f, 0.0f));
    body.SetOrientation(CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), kPi / 2.0f));
    inputs.Find("V_CH1")->SetValue(0.5f);
    inputs.Find("V_CH3")->SetValue(-1.0f);
    for (int i = 0; i < 3; ++i)
        model.UpdateModel(0.001f);

    const auto* airspeed = dynamic_cast<CInsAirSpeed*>(Gauge("Air Speed"));
    ASSERT_NE(airspeed, nullptr);
    const float trueAirspeed = std::sqrt(speed * speed + 1.0f);
    EXPECT_NEAR(airspeed->GetDisplayValue(), trueAirspeed * 3.6f, 0.05f);
    EXPECT_NEAR(model.GetVariableSearchList().Find("V_AS")->GetValue(), trueAirspeed, 1e-3f); // published in SI
    const auto* knots = dynamic_cast<CInsAirSpeed*>(Gauge("Knots"));
    ASSERT_NE(knots, nullptr);
    EXPECT_EQ(knots->GetText(), StringPrintf("%04.1fknot", trueAirspeed / 0.51444447f));

    const auto* altimeter = panel->Find<CInsAltimeter>();
    EXPECT_NEAR(altimeter->GetDisplayValue(), model.GetBody().GetPosition().y / 0.3048f, 0.01f);
    EXPECT_NE(altimeter->GetText().find("ft"), std::string::npos);

    const auto* climb = panel->Find<CInsClimbRate>();
    EXPECT_EQ(climb->GetText(), "+196.9ft/min");

    const auto* compass = panel->Find<CInsCompass>();
    EXPECT_EQ(compass->GetText(), "270.0");

    const auto* horizon = panel->Find<CInsArtificialHorizon>();
    EXPECT_EQ(horizon->GetPitchText(), "Pitch  0.0");
    EXPECT_EQ(horizon->GetRollText(), "Roll  0.0");

    const auto* feedback = panel->Find<CInsFeedback>();
    float x = 0.0f, y = 0.0f;
    feedback->CrossPosition(0, x, y);
    EXPECT_GT(y, CInsFeedback::kBoxTop + CInsFeedback::kBoxSize * 0.5f); // throttle low: cross low

    // The inside variables: the frame time and the height above the flat ground.
    EXPECT_FLOAT_EQ(model.GetVariableSearchList().Find("V_DT")->GetValue(), 0.001f);
    EXPECT_NEAR(model.GetVariableSearchList().Find("V_AGL")->GetValue(), model.GetBody().GetPosition().y, 1e-3f);
}

TEST_F(PanelFixture, StallWarningAboveFourteenDegrees)
{
    CModel& model = Load(kFullPanel);
    auto* aoa = Panel()->Find<CInsAngleOfAttack>();
    ASSERT_NE(aoa, nullptr);
    struct TCase { float degrees; bool warning; };
    for (const TCase& c : {TCase{15.0f, true}, TCase{13.0f, false}, TCase{-20.0f, false}})
    {
        SCOPED_TRACE(c.degrees);
        // Air meeting the level wings from below at the angle.
        const CVector3 velocity(0.0f, -std::sin(c.degrees * kRadPerDeg) * 15.0f, -std::cos(c.degrees * kRadPerDeg) * 15.0f);
        model.GetBody().SetPosition(CVector3(0.0f, 20.0f, 0.0f));
        model.GetBody().SetOrientation(CMatrix3::Identity());
        model.GetBody().SetVelocity(velocity);
        model.GetBody().SetAngularVelocity(CVector3());
        model.UpdateModel(0.0005f);
        EXPECT_NEAR(aoa->GetLeftAngle(), c.degrees * kRadPerDeg, 0.3f * kRadPerDeg);
        EXPECT_NEAR(aoa->GetRightAngle(), c.degrees * kRadPerDeg, 0.3f * kRadPerDeg);
        EXPECT_EQ(aoa->IsStallWarning(), c.warning);
        CInstrumentFace face;
        aoa->BuildFace(face);
        EXPECT_EQ(face.FindText("Stall Warning") != nullptr, c.warning);
        EXPECT_NE(face.FindText(StringPrintf("% 3.1f", CBInstrument::TidyZero(aoa->GetLeftAngle() / kRadPerDeg))), nullptr);
    }
}

// A gauge that reads an exact air state, for the pure texts of the edge cases.
TEST_F(PanelFixture, EdgeTextsAndNeedles)
{
    CModel& model = Load(kFullPanel, false);
    CEngineDynamic& body = model.GetBody();
    body.SetPosition(CVector3(0.0f, 10.0f, 0.0f));
    body.SetVelocity(CVector3(0.0f, 0.0f, -100.0f / 3.6f));
    // Heading -90: nose toward -X.
    body.SetOrientation(CMatrix3::FromAxisAngle(CVector3(0.0f, 1.0f, 0.0f), kPi / 2.0f));
    body.SetAngularVelocity(CVector3());
    model.UpdateModel(0.0001f);
    const auto* airspeed = Panel()->Find<CInsAirSpeed>();
    EXPECT_EQ(airspeed->GetText(), "100.0km/h");
    EXPECT_NEAR(airspeed->GetNeedleAngle(), 2.0f * kPi, 1e-3f); // one full turn
    CInstrumentFace face;
    airspeed->BuildFace(face);
    ASSERT_NE(face.FindText("100.0km/h"), nullptr);
    EXPECT_FLOAT_EQ(face.FindText("100.0km/h")->y, CInstrumentFace::kValueY);
}

TEST(InstrumentFaces, HorizonGroundFollowsPitchAndRoll)
{
    using H = CInsArtificialHorizon;
    const float midY = (H::kTop + H::kBottom) * 0.5f;
    auto lowestGroundTop = [](const TFacePolygon& p) {
        float top = 1e9f;
        for (const TFacePoint& q : p.points)
            top = std::min(top, q.y);
        return top;
    };
    // Level: the ground fills the lower half.
    TFacePolygon level = H::GroundPolygon(0.0f, 0.0f);
    ASSERT_GE(level.points.size(), 3u);
    EXPECT_NEAR(lowestGroundTop(level), midY, 0.01f);
    // Nose up 10 degrees: the horizon sinks 10 pixels.
    EXPECT_NEAR(lowestGroundTop(H::GroundPolygon(10.0f * kRadPerDeg, 0.0f)), midY + 10.0f, 0.05f);
    // Nose far down: all ground; far up: no ground at all.
    EXPECT_EQ(H::GroundPolygon(-80.0f * kRadPerDeg, 0.0f).points.size(), 4u);
    EXPECT_TRUE(H::GroundPolygon(80.0f * kRadPerDeg, 0.0f).points.empty());
    // Right bank: the ground reaches higher on the right than on the left.
    TFacePolygon bank = H::GroundPolygon(0.0f, 20.0f * kRadPerDeg);
    float leftTop = 1e9f, rightTop = 1e9f;
    for (const TFacePoint& q : bank.points)
    {
        if (std::fabs(q.x - H::kLeft) < 0.01f)
            leftTop = std::min(leftTop, q.y);
        if (std::fabs(q.x - H::kRight) < 0.01f)
            rightTop = std::min(rightTop, q.y);
    }
    EXPECT_LT(rightTop, leftTop);
}

// ---------------------------------------------------------------- faults in panel files

// message: part of the diagnostic
struct TFaultCase { const char* name; std::string text; bool valid; int instruments; const char* message; };

TEST_F(PanelFixture, FaultsInvalidateThePanelOrDropOneInstrument)
{
    const std::string inside = ".INSIDE_VARIABLES { .VARIABLE_INTEGRATION_STEP V_DT .VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN V_AGL }\n";
    const std::string vars = ".Instruments { .VARIABLE V_AS { } .VARIABLE V_DT { } .VARIABLE V_AGL { } }\n";
    const std::string speed = ".AIR_SPEED { .DESCRIPTION \"AS\" .VARIABLE_AIR_SPEED V_AS }\n";
    const TFaultCase cases[] = {
        {"complete", vars + speed + inside, true, 1, ""},
        {"no Instruments block", speed + inside, false, 0, "block Instruments"},
        {"no INSIDE_VARIABLES", vars + speed, false, 0, "INSIDE_VARIABLES is missing"},
        {"inside variable unknown",
         vars + speed + ".INSIDE_VARIABLES { .VARIABLE_INTEGRATION_STEP V_DT .VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN V_X }\n",
         false, 0, "VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN: variable 'V_X'"},
        {"gauge variable unknown", vars + ".ALTIMETER { .DESCRIPTION \"Alt\" .VARIABLE_ALTITUDE V_NONE }\n" + speed + inside,
         true, 1, "ALTIMETER 'Alt': VARIABLE_ALTITUDE: variable 'V_NONE'"},
        {"wing missing", vars + ".ANGLE_OF_ATTACK { .LEFT_WING Nope .VARIABLE_ANGLE_ATTACK V_AS }\n" + inside, true, 0,
         "no WING2 part 'Nope'"},
        {"wheel missing", vars + ".WHEEL { .WHEEL Nose }\n" + inside, true, 0, "no wheel part 'Nose'"},
        {"garbage", "}}}{{ .Instruments ... \"", false, 0, ""},
    };
    for (const TFaultCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CDiagCapture diag;
        CModel& model = Load(c.text);
        CInstrumentPanel* panel = Panel();
        EXPECT_EQ(panel != nullptr, c.valid);
        if (panel != nullptr)
        {
            EXPECT_EQ(panel->GetInstrumentCount(), c.instruments);
            model.UpdateModel(0.01f);
        }
        EXPECT_TRUE(*c.message == 0 || diag.Contains(c.message)) << testing::PrintToString(diag.lines);
    }
    // A unit of the wrong kind or unknown gives the gauge's default.
    Load(vars + ".CLIMB_RATE { .UNITS PARSEC .VARIABLE_VERTICAL_SPEED V_AS }\n" +
         ".ALTIMETER { .UNITS KNOT .VARIABLE_ALTITUDE V_AS }\n" + inside);
    loaded->UpdateModel(0.01f);
    EXPECT_NE(Panel()->Find<CInsClimbRate>()->GetText().find("km/h"), std::string::npos);
    EXPECT_EQ(Panel()->Find<CInsAltimeter>()->GetText().back(), 'm');
}

TEST_F(PanelFixture, MissingPanelFileAndClimbingNamesLeaveNoPanel)
{
    CDiagCapture diag;
    CModel model(services);
    CInstrumentPanel panel;
    EXPECT_FALSE(panel.Load("NoSuchPanel.txt", model));
    EXPECT_TRUE(diag.Contains("NoSuchPanel.txt"));
    EXPECT_FALSE(panel.Load("../../etc/passwd", model));
    EXPECT_EQ(panel.GetVariables(), nullptr);
    panel.Update(0.01f); // an invalid panel does nothing
}

} // namespace
