#include <gtest/gtest.h>

#include "core/CTimer.h"
#include "support/FakeClock.h"

TEST(Timer, StopFreezesAndStartRestarts)
{
    fake_clock::g_ns = 1'000'000'000;
    CTimer timer(&fake_clock::Count);
    fake_clock::g_ns += 250'000'000;
    EXPECT_DOUBLE_EQ(timer.Seconds(), 0.25);

    timer.Stop();
    fake_clock::g_ns += 1'000'000'000;
    EXPECT_DOUBLE_EQ(timer.Seconds(), 0.25);

    timer.Start();
    fake_clock::g_ns += 5'000;
    EXPECT_NEAR(timer.Seconds(), 5.0e-6, 1e-15);
}
