#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fdm/CFdmOptions.h"
#include "fdm/CHeadingPilot.h"

namespace
{
bool Parse(const std::vector<std::string>& args, CFdmOptions& options, std::string& error)
{
    std::vector<const char*> argv{"kestro-fdm"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    return options.Parse(static_cast<int>(argv.size()), argv.data(), error);
}

// Only the options nothing else reads back: --data, --seconds, --frame, --start, --csv, --flat,
// --heading, --speed and --record come back from kestro-fdm's own output (FdmRunTest); --check,
// --report, --wind, --site, --air and --hold-heading are flown by the content checks.
TEST(FdmOptionsTest, GoodCommandLines)
{
    CFdmOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--model", "a.mod", "--turbulence", "0.4", "--thermals", "3,60,1.5", "--seed",
                       "4294967295", "--set", "V_CH9=0.25"},
                      options, error))
        << error;
    EXPECT_TRUE(options.hasTurbulence && options.turbulence == 0.4f);
    EXPECT_TRUE(options.hasThermals && options.thermalStrength == 3.0f && options.thermalRadius == 60.0f &&
                options.thermalDensity == 1.5f);
    EXPECT_TRUE(options.hasSeed && options.seed == 4294967295u);
    EXPECT_FLOAT_EQ(options.ChannelAt(8, 100.0f), 0.25f);
    EXPECT_FLOAT_EQ(options.ChannelAt(4, 1.0f), 0.0f); // not driven
}

TEST(FdmOptionsTest, HeadingPilotSteersBackLateAndLeadsTheSwing)
{
    // Full stick for 20 deg; the model swings right at 10 deg/s from 0.1 s on.
    const float degToRad = 3.14159265f / 180.0f;
    CHeadingPilot pilot;
    pilot.Start(0.0f, 20.0f);
    float stick = 0.0f;
    for (int i = 0; i <= 10; ++i)
    {
        const float t = 0.05f * static_cast<float>(i);
        stick = pilot.Stick((t > 0.1f ? (t - 0.1f) * 10.0f : 0.0f) * degToRad, t);
    }
    // At 0.5 s it sees 0.35 s: 2.5 deg right, swinging at 10 deg/s, and leads it by 0.3 s.
    EXPECT_NEAR(stick, -(2.5f + 0.3f * 10.0f) / 20.0f, 1e-3f);
    // More swing than full stick's worth saturates; a left swing steers right.
    pilot.Start(0.0f, 20.0f);
    for (int i = 0; i <= 10; ++i)
        stick = pilot.Stick(-30.0f * degToRad, 0.05f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(stick, 1.0f);
}

// T0 == T1 is a step. (One ramp's ends and its straight middle, frame by frame: FdmRunTest's flat
// drop; ramps in a row, the latest begun deciding: the flight check trainer_taxi.)
TEST(FdmOptionsTest, RampWithoutDurationIsAStep)
{
    CFdmOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--model", "a.mod", "--ramp", "V_CH1=0:1:1:1"}, options, error)) << error;
    for (const auto& [t, value] : {std::pair{0.999f, 0.0f}, {1.0f, 0.0f}, {1.001f, 1.0f}})
        EXPECT_FLOAT_EQ(options.ChannelAt(0, t), value) << t;
}

TEST(FdmOptionsTest, BadCommandLinesAreRefused)
{
    std::vector<std::vector<std::string>> rows = {
        {},                                                                         // no model
        {"--model"},                                                                // value missing
        {"--model", "a.mod", "--bogus"},                                            // unknown option
        {"--model", "a.mod", "--seconds", "1e9", "--frame", "0.001"},               // too many frames
        {"--model", "a.mod", "--set", "V_CH1=1", "--ramp", "V_CH1=0:1:0:1"},        // driven twice
        {"--model", "a.mod", "--ramp", "V_CH2=0:1:0:2", "--ramp", "V_CH2=1:0:1:3"}, // ramps overlap
        {"--model", "a.mod", "--ramp", "V_CH2=0:1:0:2", "--set", "V_CH2=1"},        // ramp then set
        {"--air", "1,2"},
        {"--model", "a.mod", "--ramp", "V_CH3=0:1:0:1", "--ramp", "V_CH3=1:1e30:2:3"},
    };
    // One option with each of its refused values, after a good --model. The huge ones (1e30 and
    // the like) are AbsurdFdmArgumentsAreAccepted: finite, but no flight.
    const std::pair<const char*, std::vector<const char*>> values[] = {
        {"--seconds", {"0", "-1", "nan", "1e40"}}, // nothing to fly; 1e40 overflows a float
        {"--frame", {"0", "2"}},
        // Trailing garbage, no such channel, no value.
        {"--set", {"V_CH1=1.5x", "V_CH0=1", "V_CH10=1", "THROTTLE=1", "V_CH1", "V_CH3=1e30"}},
        {"--ramp", {"V_CH2=0:1:0", "V_CH2=0:1:2:1", "V_CH3=0:1e30:0:1"}}, // three fields; T1 before T0
        {"--start", {"1,2", "1,2,3,4", "1,,3", "0,1e30,0", "1.1e6,0,0"}},
        {"--wind", {"5", "-5,90", "1e30,0"}},
        {"--speed", {"-3", "1e30"}},
        {"--turbulence", {"-0.1", "1e30"}},
        {"--heading", {"inf", "1e20"}},
        {"--site", {""}},
        {"--thermals", {"3,60", "-1,60,2", "3,0,2"}},
        {"--seed", {"-1", "4294967296", "1.5"}},
        {"--hold-heading", {"V_CH4", "V_CH4=0", "RUDDER=10"}}, // no swing for full stick; not a channel
    };
    for (const auto& [option, refused] : values)
        for (const char* value : refused)
            rows.push_back({"--model", "a.mod", option, value});
    for (const auto& args : rows)
    {
        std::string joined;
        for (const std::string& arg : args)
            joined += arg + " ";
        CFdmOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
}
} // namespace
