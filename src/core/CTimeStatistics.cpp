#include "core/CTimeStatistics.h"

#include <algorithm>
#include <cstring>

#include "core/Diagnostics.h"

namespace
{
// Palette colours by nesting depth 0..6; deeper sections use the last one.
constexpr int kDepthColours[] = {22, 34, 25, 31, 37, 12, 28};
constexpr int kMaxColourDepth = 6;
constexpr int kMaxIndent = 72; // characters

constexpr int kSamplesPerAverage = 11;
constexpr int kEndCallsPerExtremes = 100; // the window is this plus the call that publishes

constexpr int kLineX = 30;       // pixels
constexpr int kFirstLineY = 10;  // pixels
constexpr int kLineSpacing = 15; // pixels
} // namespace

CTimeStatistics::CTimeStatistics(CTimer::CountSource source)
{
    for (FrameBuffer& buffer : m_buffers)
        for (Record& record : buffer.records)
            record.stopwatch = CTimer(source);
    m_droppedOpen.reserve(kMaxSections);
}

void CTimeStatistics::BeginSection(const char* name)
{
    if (!m_enabledThisFrame)
        return;
    if (!name)
        name = "";
    FrameBuffer& buffer = m_buffers[m_filling];
    if (buffer.count >= kMaxSections)
    {
        m_droppedOpen.push_back(name);
        return;
    }
    Record& record = buffer.records[buffer.count++];
    record.time = 0.0f;
    record.count = 1;
    record.name = name;
    record.depth = m_depth++;
    record.open = true;
    record.stopwatch.Start();
}

void CTimeStatistics::EndSection(const char* name)
{
    if (!m_enabledThisFrame)
        return;
    if (!name)
        name = "";

    // Everything begun after the buffer filled up is more recent than any recorded section.
    for (auto it = m_droppedOpen.rbegin(); it != m_droppedOpen.rend(); ++it)
    {
        if (std::strcmp(*it, name) == 0)
        {
            m_droppedOpen.erase(std::next(it).base());
            return;
        }
    }

    // Only open records qualify: a finished section of the same name (a repeated or recursive
    // one) must not be stopped a second time while an earlier one stays open.
    FrameBuffer& buffer = m_buffers[m_filling];
    for (int i = buffer.count - 1; i >= 0; --i)
    {
        Record& record = buffer.records[i];
        if (record.open && std::strcmp(record.name, name) == 0)
        {
            record.stopwatch.Stop();
            record.open = false;
            --m_depth;
            record.time = static_cast<float>(record.stopwatch.Seconds());
            UpdateStats(i, record.time);
            return;
        }
    }
}

void CTimeStatistics::BeginFrame()
{
    m_filling = 1 - m_filling;
    m_buffers[m_filling].count = 0;
    m_droppedOpen.clear();
    m_depth = 0;
    m_enabledThisFrame = m_displayOn;
}

void CTimeStatistics::UpdateStats(int position, float seconds)
{
    PositionStats& s = m_stats[position];

    s.timeSum += seconds;
    s.countSum += 1;
    s.sampleCount += 1;
    if (s.sampleCount >= kSamplesPerAverage)
    {
        s.averageTime = s.timeSum / static_cast<float>(s.sampleCount);
        s.averageCount = s.countSum / s.sampleCount;
        s.timeSum = 0.0f;
        s.countSum = 0;
        s.sampleCount = 0;
    }

    s.runningMax = std::max(s.runningMax, seconds);
    s.runningMin = std::min(s.runningMin, seconds);
    s.maxCount = std::max(s.maxCount, 1);
    if (--s.countdown < 0)
    {
        s.countdown = kEndCallsPerExtremes;
        s.displayedMax = s.runningMax;
        s.displayedMin = s.runningMin;
        s.runningMin = kNoMinimum;
        s.runningMax = 0.0f;
        s.maxCount = 0;
    }
}

std::vector<CTimeStatisticsLine> CTimeStatistics::GetDisplayLines() const
{
    std::vector<CTimeStatisticsLine> lines;
    if (!m_enabledThisFrame)
        return lines;

    const FrameBuffer& shown = m_buffers[1 - m_filling];
    lines.reserve(shown.count);
    for (int i = 0; i < shown.count; ++i)
    {
        const Record& record = shown.records[i];
        const PositionStats& s = m_stats[i];
        const int depth = std::max(record.depth, 0);
        const std::string indent(std::min(2 * depth, kMaxIndent), ' ');

        CTimeStatisticsLine line;
        line.text = StringPrintf("%5li % 7.2f % 7.2f  %5li % 7.2f  %s %s\n",
                                 static_cast<long>(s.maxCount), s.displayedMax * 1000.0,
                                 s.displayedMin * 1000.0, static_cast<long>(s.averageCount),
                                 s.averageTime * 1000.0, indent.c_str(), record.name);
        line.colourIndex = kDepthColours[std::min(depth, kMaxColourDepth)];
        line.x = kLineX;
        line.y = kFirstLineY + kLineSpacing * i;
        lines.push_back(std::move(line));
    }
    return lines;
}
