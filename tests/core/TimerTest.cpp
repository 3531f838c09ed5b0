#include <gtest/gtest.h>

#include "core/CTimer.h"

namespace
{
int64_t g_fakeNs = 0;
int64_t FakeCount()
{
    return g_fakeNs;
}
} // namespace

TEST(Timer, StopFreezesAndStartRestarts)
{
    g_fakeNs = 1'000'000'000;
    CTimer timer(&FakeCount);
    g_fakeNs += 250'000'000;
    EXPECT_DOUBLE_EQ(timer.Seconds(), 0.25);

    timer.Stop();
    g_fakeNs += 1'000'000'000;
    EXPECT_DOUBLE_EQ(timer.Seconds(), 0.25);

    timer.Start();
    g_fakeNs += 5'000;
    EXPECT_NEAR(timer.Seconds(), 5.0e-6, 1e-15);
}
