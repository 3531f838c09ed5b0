#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/CTokenFile.h"
#include "input/CKeyboardAxes.h"
#include "input/InputTestSupport.h"
#include "input/UserCommands.h"
#include "support/InputEvents.h"

namespace
{
CKeyboardAxis MakeAxis(float timeFullRange, bool autoCentre)
{
    CKeyboardAxis axis;
    axis.axisId = AXIS_KEYBOARD_1;
    axis.autoCentre = autoCentre;
    axis.SetTimeFullRange(timeFullRange);
    return axis;
}

// Runs the axis for seconds in frames of dt.
void RunFor(CKeyboardAxis& axis, float seconds, float dt = 0.01f)
{
    const int frames = static_cast<int>(std::lround(seconds / dt));
    for (int i = 0; i < frames; ++i)
        axis.Update(dt);
}
} // namespace

TEST(KeyboardAxis, RampsAtTheRateAndStopsAtTheLimits)
{
    CKeyboardAxis axis = MakeAxis(2.0f, true); // 2 units in 2 s: 1 unit/s
    EXPECT_FLOAT_EQ(axis.rate, 1.0f);
    axis.incHeld = true;
    RunFor(axis, 0.5f);
    EXPECT_NEAR(axis.value, 0.5f, 1e-4f);
    RunFor(axis, 0.5f);
    EXPECT_NEAR(axis.value, 1.0f, 1e-4f);
    RunFor(axis, 1.0f);
    EXPECT_FLOAT_EQ(axis.value, 1.0f); // held against the limit
    axis.incHeld = false;
    RunFor(axis, 1.0f); // auto-centre returns in the same time
    EXPECT_NEAR(axis.value, 0.0f, 1e-5f);
    axis.Update(0.01f);
    EXPECT_FLOAT_EQ(axis.value, 0.0f); // and stops exactly on the centre
    axis.decHeld = true;
    RunFor(axis, 3.0f);
    EXPECT_FLOAT_EQ(axis.value, -1.0f);
}

TEST(KeyboardAxis, CentringCases)
{
    // after: after 0.25 s at 1 unit/s
    struct Row { bool autoCentre; bool inc, dec; float start; float after; const char* why; };
    const Row rows[] = {
        {true, false, false, 0.5f, 0.25f, "auto-centre moves toward the centre"},
        {true, false, false, -0.1f, 0.0f, "and stops on it, not past it"},
        {false, false, false, 0.5f, 0.5f, "without auto-centre the value stays"},
        {false, true, true, 0.5f, 0.25f, "both keys centre even without auto-centre"},
        {false, true, true, -0.5f, -0.25f, "from below too"},
        {true, false, false, 0.0f, 0.0f, "at the centre nothing moves"},
    };
    for (const Row& row : rows)
    {
        CKeyboardAxis axis = MakeAxis(2.0f, row.autoCentre);
        axis.value = row.start;
        axis.incHeld = row.inc;
        axis.decHeld = row.dec;
        RunFor(axis, 0.25f);
        EXPECT_NEAR(axis.value, row.after, 1e-4f) << row.why;
    }
}

TEST(KeyboardAxis, TimeFullRangeHasAFloor)
{
    CKeyboardAxis axis;
    EXPECT_FLOAT_EQ(axis.rate, 0.0f); // never configured: never moves
    axis.incHeld = true;
    axis.Update(1.0f);
    EXPECT_FLOAT_EQ(axis.value, 0.0f);
    axis.SetTimeFullRange(0.0f);
    EXPECT_FLOAT_EQ(axis.timeFullRange, 0.01f);
    EXPECT_FLOAT_EQ(axis.rate, 200.0f);
    axis.SetTimeFullRange(std::nanf(""));
    EXPECT_FLOAT_EQ(axis.timeFullRange, 0.01f);
    axis.SetTimeFullRange(-3.0f);
    EXPECT_FLOAT_EQ(axis.timeFullRange, 0.01f);
}

TEST(KeyboardAxes, CommandsSetAndClearTheHeldKeys)
{
    CKeyboardAxes axes;
    EXPECT_EQ(axes.HandleEvent(CommandEvent(UC_KEYAXIS_3_DEC, IE_GOING_DOWN | IE_IS_DOWN)),
              static_cast<int>(UC_KEYAXIS_3_DEC));
    EXPECT_TRUE(axes.Get(2).decHeld);
    EXPECT_FALSE(axes.Get(2).incHeld);
    axes.HandleEvent(CommandEvent(UC_KEYAXIS_6_INC, IE_IS_DOWN));
    EXPECT_TRUE(axes.Get(5).incHeld);
    axes.HandleEvent(CommandEvent(UC_KEYAXIS_3_DEC, IE_GOING_UP));
    EXPECT_FALSE(axes.Get(2).decHeld);
    EXPECT_EQ(axes.HandleEvent(CommandEvent(UC_MENU_KEY_DEF, IE_GOING_DOWN)), 0);
    EXPECT_EQ(axes.HandleEvent(CommandEvent(UC_DEBUG_FPS, IE_GOING_DOWN)), 0);
}

TEST(KeyboardAxes, ReadAndWriteTheSection)
{
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(".AXIS_KEYBOARD AXIS_KEYBOARD_2\n{\n  .AUTO_CENTRE 0\n  .TIME_FULL_RANGE 0.5\n}\n"
                              ".AXIS_KEYBOARD AXIS_KEYBOARD_5\n{\n}\n"
                              ".AXIS_KEYBOARD AXIS_KEYBOARD_6\n{\n  .TIME_FULL_RANGE 0.001\n}\n",
                              "Config.txt"));
    CKeyboardAxes axes;
    std::string message;
    ASSERT_TRUE(axes.Read(file, message)) << message;
    EXPECT_FLOAT_EQ(axes.Get(1).rate, 4.0f);
    // What was read is what is written: absent keys take their defaults, the time its floor.

    const std::string text = WrittenText([&](CFile& out) { axes.Write(out); });
    EXPECT_EQ(text, "//---------------\r\n// Keyboard Axes\r\n//---------------\r\n"
                    ".AXIS_KEYBOARD AXIS_KEYBOARD_2\r\n{\r\n  .AUTO_CENTRE 0\r\n  .TIME_FULL_RANGE 0.500000\r\n}\r\n\r\n"
                    ".AXIS_KEYBOARD AXIS_KEYBOARD_5\r\n{\r\n  .AUTO_CENTRE 1\r\n  .TIME_FULL_RANGE 5.000000\r\n}\r\n\r\n"
                    ".AXIS_KEYBOARD AXIS_KEYBOARD_6\r\n{\r\n  .AUTO_CENTRE 1\r\n  .TIME_FULL_RANGE 0.010000\r\n}\r\n\r\n");
}

TEST(KeyboardAxes, BrokenBlocksFailWithAMessage)
{
    struct Row { const char* text; const char* message; };
    const Row rows[] = {
        {".AXIS_KEYBOARD AXIS_MOUSE_X\n{\n}\n",
         "Config.txt: AXIS_KEYBOARD 'AXIS_MOUSE_X' is not one of AXIS_KEYBOARD_1 .. AXIS_KEYBOARD_6"},
        {".AXIS_KEYBOARD AXIS_KEYBOARD_7\n{\n}\n",
         "Config.txt: AXIS_KEYBOARD 'AXIS_KEYBOARD_7' is not one of AXIS_KEYBOARD_1 .. AXIS_KEYBOARD_6"},
        {".AXIS_KEYBOARD AXIS_KEYBOARD_1 { }\n.AXIS_KEYBOARD AXIS_KEYBOARD_1 { }\n",
         "Config.txt: AXIS_KEYBOARD 'AXIS_KEYBOARD_1' appears twice"},
    };
    for (const Row& row : rows)
    {
        CTokenFile file;
        ASSERT_TRUE(file.LoadText(row.text, "Config.txt"));
        CKeyboardAxes axes;
        std::string message;
        EXPECT_FALSE(axes.Read(file, message)) << row.text;
        EXPECT_EQ(message, row.message);
    }
}
