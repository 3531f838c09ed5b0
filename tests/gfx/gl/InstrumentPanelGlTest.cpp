// The instrument panel drawn for real over a plain background: every gauge puts ink inside its
// frame and nothing outside the panel, and a screenshot (gfx_instrument_panel.png) is written
// for a look by eye.

#include <filesystem>
#include <string>
#include <vector>

#include "GlWindowTest.h"
#include "gfx/instruments/CBInstrument.h"
#include "gfx/instruments/CInstrumentPanel.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/instruments/PanelTestModel.h"

namespace
{
constexpr float kPi = 3.14159265f;

const char* const kPanel = R"(
.Instruments
{
  .VARIABLE V_AS { } .VARIABLE V_ALT { } .VARIABLE V_AOA { } .VARIABLE V_SLIDE { } .VARIABLE V_PITCH { }
  .VARIABLE V_ROLL { } .VARIABLE V_VS { } .VARIABLE V_HDG { } .VARIABLE V_DT { } .VARIABLE V_AGL { }
}
.AIR_SPEED { .DESCRIPTION "Air Speed" .POSITION 0 0 .VARIABLE_AIR_SPEED V_AS }
.ALTIMETER { .DESCRIPTION "Altitude" .POSITION 82 0 .VARIABLE_ALTITUDE V_ALT }
.ARTIFICIAL_HORIZON { .DESCRIPTION "Attitude" .POSITION 164 0 .VARIABLE_PITCH_ANGLE V_PITCH .VARIABLE_ROLL_ANGLE V_ROLL }
.CLIMB_RATE { .DESCRIPTION "Climb" .POSITION 246 0 .UNITS METER_PER_SECOND .VARIABLE_VERTICAL_SPEED V_VS }
.COMPASS { .DESCRIPTION "Heading" .POSITION 328 0 .VARIABLE_HEADING V_HDG }
.ANGLE_OF_SLIDE { .DESCRIPTION "Slide" .POSITION 410 0 .VARIABLE_ANGLE_SLIDE V_SLIDE }
.INPUT_FEEDBACK { .DESCRIPTION "Sticks" .POSITION 492 0 .LEFT_STICK_X V_CH4 .LEFT_STICK_Y V_CH3 .RIGHT_STICK_X V_CH1 .RIGHT_STICK_Y V_CH2 }
.ANGLE_OF_ATTACK { .DESCRIPTION "AoA max" .POSITION 574 0 .LEFT_WING WingL .RIGHT_WING WingR .REPRESENTATION_MODEL MAX_ANGLE .VARIABLE_ANGLE_ATTACK V_AOA }
.ANGLE_OF_ATTACK { .DESCRIPTION "AoA L/R" .POSITION 656 0 .LEFT_WING WingL .RIGHT_WING WingR .REPRESENTATION_MODEL BOTH_ANGLES .VARIABLE_ANGLE_ATTACK V_AOA }
.INSIDE_VARIABLES { .VARIABLE_INTEGRATION_STEP V_DT .VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN V_AGL }
)";

using InstrumentPanelGlTest = GlWindowTest;

TEST_F(InstrumentPanelGlTest, PanelOverPlainBackground)
{
    const std::filesystem::path shot = std::filesystem::current_path() / "gfx_instrument_panel.png";
    CPanelTestModel test;
    const float sticks[] = {0.4f, -0.6f, 0.8f, -0.2f}; // V_CH1..V_CH4
    for (int i = 0; i < 4; ++i)
        test.inputs.Find("V_CH" + std::to_string(i + 1))->SetValue(sticks[i]);
    CModel& model = test.Load(kPanel);
    CInstrumentPanel* panel = test.Panel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->GetInstrumentCount(), 9);

    // 64 km/h in a climbing right turn: nose 8 degrees up, right bank 25, heading 135.
    CEngineDynamic& body = model.GetBody();
    body.SetPosition(CVector3(0.0f, 37.5f, 0.0f));
    const CMatrix3 attitude = CMatrix3::FromAxisAngle(CVector3(0, 0, 1), -25.0f * kPi / 180.0f) *
                              CMatrix3::FromAxisAngle(CVector3(1, 0, 0), 8.0f * kPi / 180.0f) *
                              CMatrix3::FromAxisAngle(CVector3(0, 1, 0), -135.0f * kPi / 180.0f);
    body.SetOrientation(attitude);
    // Air from slightly below and from the right of the nose.
    const CVector3 bodyVelocity(-1.5f, -1.6f, -17.6f);
    body.SetVelocity(bodyVelocity * attitude + CVector3(0.0f, 2.0f, 0.0f));
    body.SetAngularVelocity(CVector3());
    model.UpdateModel(0.0005f);

    glViewport(0, 0, kW, kH);
    glClearColor(0.45f, 0.55f, 0.65f, 1.0f);
    auto draw = [&] {
        glClear(GL_COLOR_BUFFER_BIT);
        CDraw2DScope scope;
        Set2DProjection(0, 0, kW, kH);
        panel->Draw(20, 20);
    };
    draw();
    glFinish();

    const std::vector<unsigned char> pixels = ReadWindow();
    // Every gauge has bright ink (text, needles) inside its frame.
    for (int i = 0; i < panel->GetInstrumentCount(); ++i)
    {
        const CBInstrument* gauge = panel->GetInstrument(i);
        const int x = 20 + gauge->GetX(), y = 20 + gauge->GetY();
        EXPECT_GT(CountPixels(pixels, x, y, x + 79, y + 79, [](int r, int g, int b) { return r + g + b > 600; }), 40)
            << gauge->GetDescription();
    }
    // Outside the panel the background is untouched.
    EXPECT_NEAR(At(900, 600).r, 115, 2);
    Screenshot(shot.string());
}
} // namespace
