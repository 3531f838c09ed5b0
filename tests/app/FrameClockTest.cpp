#include <gtest/gtest.h>

#include <vector>

#include "app/CFrameClock.h"
#include "support/FakeClock.h"

namespace
{
// Advances the clock by each of the frame durations in turn.
double RunFrames(CFrameClock& clock, double now, const std::vector<double>& durations)
{
    for (double dt : durations)
    {
        now += dt;
        clock.SyncAt(now);
    }
    return now;
}
} // namespace

TEST(FrameClock, StallIsClampedAndSpreadOverTenFrames)
{
    CFrameClock clock;
    double now = RunFrames(clock, 0.0, std::vector<double>(10, 0.02));
    ASSERT_NEAR(clock.GetFrameTime(), 0.02f, 1e-6f);

    RunFrames(clock, now, {0.3});
    EXPECT_FLOAT_EQ(clock.GetStepDt(), 0.05f);
    EXPECT_NEAR(clock.GetRealDt(), 0.3f, 1e-6f);
    // The clamped 0.05 replaces one 0.02 entry of ten.
    EXPECT_NEAR(clock.GetFrameTime(), 0.02f + (0.05f - 0.02f) / 10.0f, 1e-6f);
    EXPECT_NEAR(clock.GetFrameFps(), 1.0f / 0.023f, 1e-2f);
    // The unclamped mean keeps the real stall (that is what the FPS overlay reports).
    EXPECT_NEAR(clock.GetMeanRealDt(), (9 * 0.02f + 0.3f) / 10.0f, 1e-6f);
}

TEST(FrameClock, FirstFramesAverageOnlyTheEntriesWrittenThenTheLastTen)
{
    CFrameClock clock;
    const std::vector<double> durations = {0.010, 0.020, 0.030, 0.040, 0.015,
                                           0.025, 0.035, 0.045, 0.005, 0.030};
    double now = 0.0;
    double sum = 0.0;
    for (size_t k = 0; k < durations.size(); ++k)
    {
        now = RunFrames(clock, now, {durations[k]});
        sum += durations[k];
        EXPECT_NEAR(clock.GetFrameTime(), sum / static_cast<double>(k + 1), 1e-6) << "frame " << k + 1;
    }
    // Then the ring keeps only the last ten.
    now = RunFrames(clock, now, std::vector<double>(13, 0.01));
    EXPECT_NEAR(clock.GetFrameTime(), 0.01f, 1e-6f);
    EXPECT_EQ(clock.GetFrameCount(), 23u);
}

TEST(FrameClock, ZeroOrNegativeRealDtGivesZeroStepAndKeepsTheRates)
{
    CFrameClock clock;
    double now = RunFrames(clock, 0.0, std::vector<double>(10, 0.02));
    const float realFps = clock.GetRealFps();
    const float stepFps = clock.GetStepFps();

    clock.SyncAt(now); // no time passed
    EXPECT_EQ(clock.GetRealDt(), 0.0f);
    EXPECT_FLOAT_EQ(clock.GetRealFps(), realFps);
    EXPECT_FLOAT_EQ(clock.GetStepFps(), stepFps);
    EXPECT_NEAR(clock.GetFrameTime(), 9 * 0.02f / 10.0f, 1e-6f);

    clock.SyncAt(now - 0.01); // the clock went backwards
    EXPECT_EQ(clock.GetStepDt(), 0.0f);
    EXPECT_FLOAT_EQ(clock.GetStepFps(), stepFps);
    EXPECT_NEAR(clock.GetFrameTime(), 8 * 0.02f / 10.0f, 1e-6f);
    EXPECT_LT(clock.GetRealDt(), 0.0f);
}

TEST(FrameClock, SimulatedTimeIsTheSumOfFrameTimes)
{
    CFrameClock clock;
    double now = 0.0;
    double expected = 0.0;
    for (double dt : {0.01, 0.5, 0.02, 0.03, 0.2})
    {
        now = RunFrames(clock, now, {dt});
        expected += clock.GetFrameTime();
    }
    EXPECT_NEAR(clock.GetSimulatedTime(), expected, 1e-9);
    // A 0.5 s and a 0.2 s stall moved the simulation by far less than they lasted.
    EXPECT_LT(clock.GetSimulatedTime(), 0.2);
}

TEST(FrameClock, SyncReadsItsTimerFromConstruction)
{
    fake_clock::g_ns = 5'000'000'000;
    CFrameClock clock(&fake_clock::Count);
    fake_clock::g_ns += 16'000'000;
    clock.Sync();
    EXPECT_NEAR(clock.GetRealDt(), 0.016f, 1e-6f);
    fake_clock::g_ns += 20'000'000;
    clock.Sync();
    EXPECT_NEAR(clock.GetFrameTime(), 0.018f, 1e-6f);
}
