#include "input/CInputMouse.h"

#include <algorithm>

namespace
{
float Clamp1(float value)
{
    return std::min(1.0f, std::max(-1.0f, value));
}
} // namespace

void CInputMouse::SetButton(int button, bool down)
{
    if (button < 0 || button >= 3)
        return;
    const uint8_t state = down ? 0x80 : 0;
    TButtonChanges& changes = m_changes[button];
    if (changes.count == kQueuedChanges)
        --changes.count; // the last queued state differs from this one: the pair merges
    const uint8_t last = changes.count > 0 ? changes.states[changes.count - 1] : buttons[button];
    if (state != last)
        changes.states[changes.count++] = state;
}

void CInputMouse::SetPosition(int x, int y)
{
    m_windowX = x;
    m_windowY = y;
    m_moved = true;
}

void CInputMouse::ReleaseAll()
{
    for (int i = 0; i < 3; ++i)
    {
        m_changes[i].count = 0;
        SetButton(i, false);
    }
    m_dx = m_dy = m_wheelNotches = 0;
    wheel = 0.0f;
}

void CInputMouse::Read(double now)
{
    m_now = now;
    for (int i = 0; i < 3; ++i)
    {
        TButtonChanges& changes = m_changes[i];
        if (changes.count == 0)
            continue;
        buttons[i] = changes.states[0];
        for (int k = 1; k < changes.count; ++k)
            changes.states[k - 1] = changes.states[k];
        --changes.count;
    }
    if (m_moved || m_dx != 0 || m_dy != 0 || buttons[0] || buttons[1] || buttons[2])
        m_lastActivity = now;
    m_moved = false;

    // Integer halving, as the scales were defined for an 800 x 600 screen.
    const float scaleX = 1.0f / static_cast<float>(kScreenWidth / 2);
    const float scaleY = 1.0f / static_cast<float>(kScreenHeight / 2);
    x = Clamp1(x + static_cast<float>(m_dx) * scaleX);
    y = Clamp1(y - static_cast<float>(m_dy) * scaleY); // screen down is negative
    wheel = Clamp1(wheel + static_cast<float>(m_wheelNotches) * scaleY);
    m_dx = m_dy = m_wheelNotches = 0;

    if (recentre && buttons[0])
    {
        x *= 0.5f;
        y *= 0.5f;
    }
}
