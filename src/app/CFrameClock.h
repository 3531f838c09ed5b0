#pragma once
// The frame clock: measures the real duration of every frame and publishes the time step that
// the simulation, camera, servo and keyboard-axis code integrate with.
//
// At every Sync (the end of a frame):
//   real dt  = now - last                      (seconds, unclamped)
//   step dt  = min(real dt, max dt), 0 when real dt < 0 (a clock going backwards never
//              integrates backwards)
//   frame time = mean of the last ten step dt values (of the ones written so far during the
//              first nine frames)
// so a single stall (a file load, a window drag) moves the simulation by at most max dt / 10
// more than usual, and jitter between frames is smoothed. A zero dt leaves the fps values
// as they were instead of dividing by zero.
//
// The application owns one instance (CMainKestro::FrameClock).

#include <cstdint>

#include "core/CTimer.h"

class CFrameClock
{
public:
    static constexpr int kHistorySize = 10;
    static constexpr float kDefaultMaxDt = 0.05f; // s; 20 fps is the slowest simulated rate

    // Starts the timer; the first Sync measures from here.
    explicit CFrameClock(CTimer::CountSource source = nullptr);

    // Advances the clock with the timer's reading.
    void Sync();
    // Advances the clock as if the timer read nowSeconds (seconds since construction).
    void SyncAt(double nowSeconds);

    uint32_t GetFrameCount() const { return m_frameCount; }
    float GetRealDt() const { return m_realDt; }        // s
    float GetRealFps() const { return m_realFps; }      // 1/s
    float GetStepDt() const { return m_stepDt; }        // s
    float GetStepFps() const { return m_stepFps; }      // 1/s
    float GetMeanRealDt() const { return m_realHistory.Mean(); } // s
    float GetMeanRealFps() const { return m_meanRealFps; } // 1/s, what the FPS overlay shows
    float GetFrameTime() const { return m_stepHistory.Mean(); } // s, THE simulation step
    float GetFrameFps() const { return m_frameFps; }    // 1/s
    double GetSimulatedTime() const { return m_simulatedTime; } // s
    float GetMaxDt() const { return m_maxDt; }          // s

private:
    // Ring of the last kHistorySize values with their cached mean.
    class History
    {
    public:
        void Push(float value);
        float Mean() const { return m_mean; }

    private:
        float m_values[kHistorySize] = {};
        int m_writeIndex = 0;
        bool m_full = false;
        float m_mean = 0.0f;
    };

    CTimer m_timer;
    uint32_t m_frameCount = 0;
    double m_now = 0.0;  // s since the timer start
    double m_last = 0.0; // s since the timer start, at the previous Sync
    float m_realDt = 0.0f;
    float m_realFps = 0.0f;
    float m_maxDt = kDefaultMaxDt;
    float m_stepDt = 0.0f;
    float m_stepFps = 0.0f;
    History m_realHistory;
    History m_stepHistory;
    float m_meanRealFps = 0.0f;
    float m_frameFps = 0.0f;
    double m_simulatedTime = 0.0; // s, sum of all frame times
};
