#pragma once
// High-resolution stopwatch on a monotonic clock. Runs from construction; Stop freezes the
// reading until the next Start.
//
// The counter source can be replaced per timer so that code timed with CTimer (the frame clock,
// the time statistics) can be driven deterministically in tests.

#include <cstdint>

class CTimer
{
public:
    // Returns the current counter value in nanoseconds; only differences are meaningful.
    using CountSource = int64_t (*)();

    // A null source means the steady clock.
    explicit CTimer(CountSource source = nullptr);

    void Start();
    void Stop();
    bool IsStopped() const { return m_stopped; }

    // Seconds from Start to Stop, or to now while running.
    double Seconds() const;

    // The steady clock's reading in nanoseconds.
    static int64_t SteadyCount();

private:
    int64_t Count() const { return m_source(); }

    CountSource m_source;
    int64_t m_startCount = 0; // ns
    int64_t m_stopCount = 0;  // ns
    bool m_stopped = false;
};
