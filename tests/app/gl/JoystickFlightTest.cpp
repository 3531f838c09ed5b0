// The whole program in this process, its frame loop run by the test, with SDL's virtual joystick
// standing in for a USB transmitter: the joystick is noticed when it is plugged in while the
// program runs, the calibration screen measures its axes (half of the travel reads as full after
// it), and through the "Joystick" input map it flies the trainer. Screenshots (app_*.png) land
// in the build folder.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "gfx/gl/GlWindowTest.h"
#include "app/CConfig.h"
#include "app/CMainKestro.h"
#include "app/CProcFly.h"
#include "app/CProcessManager.h"
#include "input/CInput.h"
#include "input/InputIds.h"
#include "model/CModel.h"
#include "sim/CFlightSession.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace
{
// SDL axes of the virtual device: X, Y, Z, RX, RY, RZ, then the two sliders.
enum
{
    AX_X = 0,
    AX_Y = 1,
    AX_RZ = 5,
    AX_SL0 = 6,
    AX_COUNT = 8
};

void PushKey(SDL_Scancode code, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = code;
    SDL_PushEvent(&event);
}

class JoystickFlight : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display (run under xvfb-run)";
        setenv("KESTRO_NO_MESSAGE_BOX", "1", 1);
        fs::create_directories(m_dir.Path() / "run" / "Output");
        fs::create_symlink(SourceDir() / "Data", m_dir.Path() / "run" / "Data");
        std::ifstream in(SourceDir() / "Data" / "Config" / "Config.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string config = std::regex_replace(text.str(), std::regex("SELECTED_INPUT_MAP  \"Keyboard\""),
                                                      "SELECTED_INPUT_MAP  \"Joystick\"");
        std::ofstream(m_dir.Path() / "run" / "Output" / "Config.txt", std::ios::binary) << config;
        m_shots = fs::current_path();
        m_workingDir = std::make_unique<ScopedWorkingDir>(m_dir.Path() / "run");
        m_app = std::make_unique<CMainKestro>();
        ASSERT_TRUE(m_app->Init()) << m_app->FailedStep();
    }

    void TearDown() override
    {
        if (m_stick)
            SDL_JoystickClose(m_stick);
        if (m_app)
            m_app->Shutdown();
        m_app.reset();
        m_workingDir.reset();
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            m_app->RunFrame();
    }

    void Key(SDL_Scancode code)
    {
        PushKey(code, true);
        Frames(2);
        PushKey(code, false);
        Frames(2);
    }

    // The device's axis a at v (-32768..32767).
    void Axis(int a, int16_t v) { SDL_JoystickSetVirtualAxis(m_stick, a, v); }

    float Channel(int n) const
    {
        const CVariable* v = m_app->Config()->InputVariables().Find("V_CH" + std::to_string(n));
        return v ? v->GetValue() : -99.0f;
    }

    TempDir m_dir;
    fs::path m_shots; // the build folder the test was started in
    std::unique_ptr<ScopedWorkingDir> m_workingDir;
    std::unique_ptr<CMainKestro> m_app;
    SDL_Joystick* m_stick = nullptr; // the test's own handle, to move the virtual axes
};
} // namespace

TEST_F(JoystickFlight, HotPluggedCalibratedJoystickFliesTheTrainer)
{
    Frames(5);
    ASSERT_FALSE(m_app->Input()->HasJoystick());

    // Plugged in while the program runs.
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, AX_COUNT, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    m_stick = SDL_JoystickOpen(index);
    ASSERT_NE(m_stick, nullptr);
    Frames(3);
    ASSERT_TRUE(m_app->Input()->HasJoystick());
    EXPECT_EQ(m_app->Input()->JoystickAxisCount(), AX_COUNT);

    // This stick travels half way only: uncalibrated it never reaches full deflection.
    Axis(AX_X, 16000);
    Frames(3);
    EXPECT_NEAR(m_app->Input()->GetAxisValue(AXIS_JOYSTICK_X), 0.488f, 0.002f);

    // The calibration screen: found at once, sticks at rest (throttle slider at idle), ends.
    m_app->ProcessManager()->Request(PROC_CALIBRATE_TX);
    for (int a = 0; a < AX_COUNT; ++a)
        Axis(a, a == AX_SL0 ? 16000 : 300);
    Frames(5);
    Key(SDL_SCANCODE_RETURN);
    for (int16_t v : {16000, -16000, 16000, -16000})
    {
        for (int a = 0; a < AX_COUNT; ++a)
            Axis(a, v);
        Frames(3);
    }
    for (int a = 0; a < AX_COUNT; ++a)
        Axis(a, a == AX_SL0 ? 16000 : 300);
    Frames(3);
    GlWindowTest::Screenshot((m_shots / "app_calibration_joystick.png").string());
    Key(SDL_SCANCODE_RETURN);
    Key(SDL_SCANCODE_SPACE); // finished: any key leaves
    const CInput& input = *m_app->Input();
    ASSERT_TRUE(m_app->Config()->JoystickCalibrations().HasOwn(input.JoystickGuid(), input.JoystickName()));
    const SJoystickAxisCalibration& x = m_app->Config()->JoystickCalibrations().Find(input.JoystickGuid(), input.JoystickName())[0];
    EXPECT_EQ(x.low, -488 + 20);
    EXPECT_EQ(x.centre, 9);
    EXPECT_EQ(x.high, 488 - 20);
    Axis(AX_X, 16000);
    Frames(3);
    EXPECT_FLOAT_EQ(m_app->Input()->GetAxisValue(AXIS_JOYSTICK_X), 1.0f);

    // Fly: throttle closed once (the engine starts), then full with a little up elevator.
    m_app->ProcessManager()->Request(PROC_FLY);
    Axis(AX_X, 300);
    Axis(AX_RZ, 300);
    Axis(AX_Y, 300);
    Axis(AX_SL0, 16000); // slider at the far end: idle
    Frames(40);
    EXPECT_NEAR(Channel(3), -1.0f, 0.01f);
    Axis(AX_SL0, -16000); // full
    Axis(AX_Y, 5000);     // pulled back: nose up
    Frames(3);
    EXPECT_NEAR(Channel(3), 1.0f, 0.01f);
    EXPECT_GT(Channel(2), 0.2f);
    auto* fly = static_cast<CProcFly*>(m_app->ProcessManager()->GetProcess(PROC_FLY));
    ASSERT_NE(fly, nullptr);
    float highest = 0.0f;
    for (int frame = 0; frame < 1200 && highest < 5.0f; ++frame)
    {
        m_app->RunFrame();
        if (const CModel* model = fly->Session()->GetModel())
        {
            const CVector3& p = model->GetBody().GetPosition();
            highest = std::max(highest, p.y - fly->Session()->GetGroundHeight(p.x, p.z));
        }
    }
    GlWindowTest::Screenshot((m_shots / "app_joystick_flight.png").string());
    EXPECT_GT(highest, 5.0f) << "the joystick's throttle and elevator lift the trainer off";
}
