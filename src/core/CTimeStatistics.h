#pragma once
// Built-in frame profiler. The application owns one and hands it to whoever times its work in
// named sections that nest:
//
//     stats->BeginSection("Model");
//     ...
//     stats->EndSection("Model");      // or: CTimeSection section(stats, "Model");
//
// While the display is switched on, every section of every frame is timed into one of two
// frame buffers (one filled, the other holding the last complete frame, which is what is shown).
// While it is off, a CTimeSection costs a pointer and a flag test, so sections stay in hot paths.
//
// Statistics belong to record positions (the order in which sections began in the frame), not
// to names: a section that runs twice in a frame is two lines, and when the set of sections
// changes between frames a line's statistics can mix different sections. Per position:
//   - averages of time and count over blocks of 11 samples (they change every 11 frames);
//   - minimum and maximum over windows of 101 end calls (about 100 frames).
//
// Frame order: call BeginFrame before the outermost section ("Total") opens, because a section
// can only be closed in the buffer it was opened in. The depth restarts at 0 every frame, so a
// section left open cannot shift the indentation of every later frame.
//
// Names are constant texts owned by the caller; they are compared by content, never copied.

#include <array>
#include <string>
#include <vector>

#include "core/CTimer.h"

// One line of the on-screen table, ready for the 2D text drawing.
struct CTimeStatisticsLine
{
    std::string text;    // ends with "\n"
    int colourIndex = 0; // palette index, by nesting depth
    int x = 0;           // pixels from the left
    int y = 0;           // pixels from the top
};

class CTimeStatistics
{
public:
    static constexpr int kMaxSections = 100; // per frame; further sections are not recorded
    static constexpr const char* kFontName = "F07x12S";
    static constexpr float kTextScale = 1.0f;

    // A null source means the steady clock.
    explicit CTimeStatistics(CTimer::CountSource source = nullptr);
    CTimeStatistics(const CTimeStatistics&) = delete;
    CTimeStatistics& operator=(const CTimeStatistics&) = delete;

    void BeginSection(const char* name);
    // Closes the most recently begun open section of that name; unknown names are ignored.
    void EndSection(const char* name);
    // Starts a frame: switches buffers and applies the display switch.
    void BeginFrame();

    void ToggleDisplay() { m_displayOn = !m_displayOn; }
    bool IsDisplayOn() const { return m_displayOn; }
    bool IsRecording() const { return m_enabledThisFrame; }

    // The table of the last complete frame; empty unless enabled this frame.
    std::vector<CTimeStatisticsLine> GetDisplayLines() const;

private:
    struct Record
    {
        CTimer stopwatch;
        float time = 0.0f;       // s
        int count = 0;           // always 1 per record
        const char* name = nullptr;
        int depth = 0;           // nesting depth at its start
        bool open = false;
    };

    struct FrameBuffer
    {
        std::array<Record, kMaxSections> records;
        int count = 0;
    };

    struct PositionStats
    {
        float averageTime = 0.0f;        // s
        int averageCount = 0;
        float timeSum = 0.0f;            // s
        int countSum = 0;
        int sampleCount = 0;
        float displayedMax = 0.0f;       // s
        float runningMax = 0.0f;         // s
        float displayedMin = 0.0f;       // s
        float runningMin = kNoMinimum;   // s
        int maxCount = 0;
        int countdown = 0;               // end calls left in the current extremes window
    };

    static constexpr float kNoMinimum = 99999.9f; // s; larger than any section

    void UpdateStats(int position, float seconds);

    FrameBuffer m_buffers[2];
    std::array<PositionStats, kMaxSections> m_stats;
    // Names of sections begun after the buffer was full, still open: their ends must not close
    // a recorded section of the same name.
    std::vector<const char*> m_droppedOpen;
    int m_filling = 0; // index of the buffer being filled
    int m_depth = 0;
    bool m_enabledThisFrame = false;
    bool m_displayOn = false;
};

// Times the enclosing scope as a section of stats (null: of nobody).
class CTimeSection
{
public:
    CTimeSection(CTimeStatistics* stats, const char* name)
        : m_stats(stats), m_name(name)
    {
        if (m_stats && m_stats->IsRecording())
            m_stats->BeginSection(name);
    }
    ~CTimeSection()
    {
        if (m_stats && m_stats->IsRecording())
            m_stats->EndSection(m_name);
    }
    CTimeSection(const CTimeSection&) = delete;
    CTimeSection& operator=(const CTimeSection&) = delete;

private:
    CTimeStatistics* m_stats;
    const char* m_name;
};
