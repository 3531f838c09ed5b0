#pragma once
// A value that runs from 0 to 1 and back with a period: the glow of the focused control.

class CPulse
{
public:
    explicit CPulse(float periodSeconds) : m_period(periodSeconds) {}

    // Advances by 2 x dt / period, reversing at the ends. dt in s.
    void Update(float dt)
    {
        if (m_period <= 0.0f)
            return;
        m_value += m_direction * 2.0f * dt / m_period;
        if (m_value >= 1.0f)
        {
            m_value = 1.0f;
            m_direction = -1.0f;
        }
        else if (m_value <= 0.0f)
        {
            m_value = 0.0f;
            m_direction = 1.0f;
        }
    }
    float Value() const { return m_value; }

private:
    float m_period;           // s for 0 -> 1 -> 0
    float m_value = 0.0f;     // 0..1
    float m_direction = 1.0f; // +1 rising, -1 falling
};
