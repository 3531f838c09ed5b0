#include "app/CFrameClock.h"

void CFrameClock::History::Push(float value)
{
    m_values[m_writeIndex] = value;
    if (++m_writeIndex == kHistorySize)
    {
        m_writeIndex = 0;
        m_full = true;
    }

    // Summed afresh each time (ten additions) so no rounding drift builds up over a long run.
    const int n = m_full ? kHistorySize : m_writeIndex;
    float sum = 0.0f;
    for (int i = 0; i < n; ++i)
        sum += m_values[i];
    m_mean = sum / static_cast<float>(n);
}

CFrameClock::CFrameClock(CTimer::CountSource source)
    : m_timer(source)
{
}

void CFrameClock::Sync()
{
    SyncAt(m_timer.Seconds());
}

void CFrameClock::SyncAt(double nowSeconds)
{
    ++m_frameCount;
    m_now = nowSeconds;
    m_realDt = static_cast<float>(m_now - m_last);
    m_last = m_now;

    if (m_realDt != 0.0f)
        m_realFps = 1.0f / m_realDt;

    if (m_realDt >= 0.0f)
    {
        m_stepDt = m_realDt > m_maxDt ? m_maxDt : m_realDt;
        if (m_stepDt != 0.0f)
            m_stepFps = 1.0f / m_stepDt;
    }
    else
    {
        m_stepDt = 0.0f;
    }

    m_realHistory.Push(m_realDt);
    if (m_realHistory.Mean() != 0.0f)
        m_meanRealFps = 1.0f / m_realHistory.Mean();

    m_stepHistory.Push(m_stepDt);
    if (m_stepHistory.Mean() != 0.0f)
        m_frameFps = 1.0f / m_stepHistory.Mean();

    m_simulatedTime += m_stepHistory.Mean();
}
