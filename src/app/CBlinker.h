#pragma once
// On for a fraction of every period (the "REC" indicator and other blinking marks).

#include <cmath>

class CBlinker
{
public:
    CBlinker(float periodSeconds, float onFraction, float offsetSeconds = 0.0f)
        : m_period(periodSeconds), m_onFraction(onFraction), m_offset(offsetSeconds)
    {
    }

    // seconds: the main stopwatch.
    bool IsOn(double seconds) const
    {
        if (m_period <= 0.0f)
            return true;
        return std::fmod(seconds + m_offset, static_cast<double>(m_period)) < m_period * m_onFraction;
    }

private:
    float m_period;     // s
    float m_onFraction; // 0..1
    float m_offset;     // s
};
