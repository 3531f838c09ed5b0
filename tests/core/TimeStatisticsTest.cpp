#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CTimeStatistics.h"
#include "support/FakeClock.h"

namespace
{
void AdvanceMs(double ms)
{
    fake_clock::g_ns += static_cast<int64_t>(ms * 1.0e6);
}

// The numbers of one table line.
struct ParsedLine
{
    long maxCount = -1;
    double maxMs = -1.0;
    double minMs = -1.0;
    long averageCount = -1;
    double averageMs = -1.0;
};

ParsedLine Parse(const CTimeStatisticsLine& line)
{
    ParsedLine p;
    const int fields = std::sscanf(line.text.c_str(), "%ld %lf %lf %ld %lf", &p.maxCount, &p.maxMs,
                                   &p.minMs, &p.averageCount, &p.averageMs);
    EXPECT_EQ(fields, 5) << line.text;
    return p;
}

// The section name at the end of a line, after its indentation.
std::string NameOf(const CTimeStatisticsLine& line)
{
    const size_t end = line.text.find('\n');
    const size_t start = line.text.find_last_of(' ', end) + 1;
    return line.text.substr(start, end - start);
}

// A section that lasts ms.
void Timed(CTimeStatistics& stats, const char* name, double ms)
{
    stats.BeginSection(name);
    AdvanceMs(ms);
    stats.EndSection(name);
}

// Ends the frame: the lines shown from then on.
std::vector<CTimeStatisticsLine> NextFrameLines(CTimeStatistics& stats)
{
    stats.BeginFrame();
    return stats.GetDisplayLines();
}

// The figures of the first line shown after the frame.
ParsedLine NextFrameFirst(CTimeStatistics& stats)
{
    const std::vector<CTimeStatisticsLine> lines = NextFrameLines(stats);
    return lines.empty() ? ParsedLine{} : Parse(lines[0]);
}

// One frame with a single section "Work" that lasts ms.
void TimedFrame(CTimeStatistics& stats, double ms)
{
    stats.BeginFrame();
    Timed(stats, "Work", ms);
}

class TimeStatistics : public ::testing::Test
{
protected:
    TimeStatistics()
        : stats(&fake_clock::Count)
    {
        stats.ToggleDisplay();
    }
    CTimeStatistics stats;
};
} // namespace

TEST_F(TimeStatistics, NothingShownInTheFirstFrameAfterSwitchingOn)
{
    CTimeStatistics fresh(&fake_clock::Count);
    fresh.BeginFrame();
    Timed(fresh, "Work", 0.0); // display off: not recorded
    fresh.ToggleDisplay();

    TimedFrame(fresh, 1.0);
    EXPECT_TRUE(fresh.GetDisplayLines().empty());
    TimedFrame(fresh, 1.0);
    ASSERT_EQ(fresh.GetDisplayLines().size(), 1u);

    fresh.ToggleDisplay();
    EXPECT_EQ(fresh.GetDisplayLines().size(), 1u) << "the switch acts at the next frame";
    fresh.BeginFrame();
    EXPECT_TRUE(fresh.GetDisplayLines().empty());
}

TEST_F(TimeStatistics, LineTextIndentedByDepth)
{
    stats.BeginFrame();
    stats.BeginSection("Total");
    Timed(stats, "Model", 2.5);
    AdvanceMs(1.0);
    stats.EndSection("Total");
    const std::vector<CTimeStatisticsLine> lines = NextFrameLines(stats);
    ASSERT_EQ(lines.size(), 2u);
    // The first end call of a position publishes its extremes and restarts the window, whose
    // count maximum is 0 until the next call; averages need 11 samples.
    EXPECT_EQ(lines[0].text, "    0    3.50    3.50      0    0.00   Total\n");
    EXPECT_EQ(lines[1].text, "    0    2.50    2.50      0    0.00     Model\n");
}

TEST_F(TimeStatistics, AveragesChangeOnlyEveryElevenFrames)
{
    for (int frame = 1; frame <= 10; ++frame)
        TimedFrame(stats, 2.0);
    EXPECT_EQ(NextFrameFirst(stats).averageMs, 0.0) << "after 10 samples";

    TimedFrame(stats, 13.0); // the 11th sample closes the block: (10 * 2 + 13) / 11 = 3
    ParsedLine line = NextFrameFirst(stats);
    EXPECT_NEAR(line.averageMs, 3.0, 0.01);
    EXPECT_EQ(line.averageCount, 1);

    for (int frame = 12; frame <= 21; ++frame)
        TimedFrame(stats, 5.0);
    EXPECT_NEAR(NextFrameFirst(stats).averageMs, 3.0, 0.01) << "after 21 samples";
    TimedFrame(stats, 5.0);
    EXPECT_NEAR(NextFrameFirst(stats).averageMs, 5.0, 0.01) << "after 22 samples";
}

TEST_F(TimeStatistics, ExtremesChangeEvery101EndCalls)
{
    TimedFrame(stats, 4.0); // call 1 publishes at once
    ParsedLine line = NextFrameFirst(stats);
    EXPECT_NEAR(line.maxMs, 4.0, 0.01);
    EXPECT_NEAR(line.minMs, 4.0, 0.01);

    // Calls 2..101 collect a new window without showing it.
    TimedFrame(stats, 9.0);
    for (int call = 3; call <= 101; ++call)
        TimedFrame(stats, 1.0 + (call % 3));
    line = NextFrameFirst(stats);
    EXPECT_NEAR(line.maxMs, 4.0, 0.01) << "after 101 calls";

    TimedFrame(stats, 1.5); // call 102 publishes the window of calls 2..102
    line = NextFrameFirst(stats);
    EXPECT_NEAR(line.maxMs, 9.0, 0.01);
    EXPECT_NEAR(line.minMs, 1.0, 0.01);
}

TEST_F(TimeStatistics, MoreThanAHundredSectionsAreIgnored)
{
    stats.BeginFrame();
    stats.BeginSection("Outer"); // record 0, stays open
    for (int i = 1; i < CTimeStatistics::kMaxSections; ++i)
        Timed(stats, "Inner", 0.0);
    // The buffer is full: these are not recorded, and their ends must not close "Outer".
    stats.BeginSection("Outer");
    Timed(stats, "Late", 1.0);
    stats.EndSection("Outer");
    AdvanceMs(6.0);
    stats.EndSection("Outer");
    const std::vector<CTimeStatisticsLine> lines = NextFrameLines(stats);
    ASSERT_EQ(lines.size(), static_cast<size_t>(CTimeStatistics::kMaxSections));
    EXPECT_EQ(NameOf(lines[0]), "Outer");
    EXPECT_NEAR(Parse(lines[0]).maxMs, 7.0, 0.01);
    EXPECT_EQ(NameOf(lines.back()), "Inner");
}

TEST_F(TimeStatistics, EndClosesTheInnermostSectionOfThatName)
{
    stats.BeginFrame();
    stats.BeginSection("A");
    AdvanceMs(1.0);
    stats.BeginSection("B");
    AdvanceMs(2.0);
    stats.EndSection("A");
    AdvanceMs(4.0);
    stats.EndSection("B");
    stats.EndSection("Never begun"); // ignored
    Timed(stats, "C", 0.0);
    const std::vector<CTimeStatisticsLine> lines = NextFrameLines(stats);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(Parse(lines[0]).maxMs, 3.0, 0.01);
    EXPECT_NEAR(Parse(lines[1]).maxMs, 6.0, 0.01);
    EXPECT_EQ(lines[2].colourIndex, 22) << "two ends brought the depth back to 0";

    // Nested sections of the same name close innermost first (on fresh positions: the extremes
    // of a position change only every 101 end calls).
    CTimeStatistics fresh(&fake_clock::Count);
    fresh.ToggleDisplay();
    fresh.BeginFrame();
    fresh.BeginSection("Recurse");
    AdvanceMs(1.0);
    Timed(fresh, "Recurse", 2.0);
    AdvanceMs(4.0);
    fresh.EndSection("Recurse");
    const std::vector<CTimeStatisticsLine> nested = NextFrameLines(fresh);
    ASSERT_EQ(nested.size(), 2u);
    EXPECT_NEAR(Parse(nested[0]).maxMs, 7.0, 0.01);
    EXPECT_NEAR(Parse(nested[1]).maxMs, 2.0, 0.01);
}

TEST_F(TimeStatistics, SectionLeftOpenDoesNotShiftLaterFrames)
{
    stats.BeginFrame();
    stats.BeginSection("Leaked");
    stats.BeginFrame();
    Timed(stats, "Work", 0.0);
    stats.BeginFrame();
    EXPECT_EQ(stats.GetDisplayLines()[0].colourIndex, 22);
}

TEST(TimeStatisticsSection, RecordsOnlyWhileOnAndNotWithoutStatistics)
{
    CTimeStatistics stats(&fake_clock::Count);
    stats.BeginFrame();
    {
        CTimeSection section(&stats, "Off");
    }
    stats.ToggleDisplay();
    stats.BeginFrame();
    {
        CTimeSection section(&stats, "Scoped");
        CTimeSection nobody(nullptr, "Nobody"); // nothing to do, nothing to crash
        AdvanceMs(2.0);
    }
    stats.BeginFrame();
    const std::vector<CTimeStatisticsLine> lines = stats.GetDisplayLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(NameOf(lines[0]), "Scoped");
    EXPECT_NEAR(Parse(lines[0]).maxMs, 2.0, 0.01);
}
