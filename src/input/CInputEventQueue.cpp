#include "input/CInputEventQueue.h"

bool CInputEventQueue::Post(const CInputEvent& event, double now)
{
    if (m_count >= kCapacity)
        return false;
    m_events[m_count++] = event;
    m_lastPostTime = now;
    return true;
}

CInputEvent* CInputEventQueue::First()
{
    m_cursor = 0;
    return Next();
}

CInputEvent* CInputEventQueue::Next()
{
    return m_cursor < m_count ? &m_events[m_cursor++] : nullptr;
}

bool CInputEventQueue::Contains(uint32_t key, uint32_t flags) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_events[i].key == key && m_events[i].flags == flags)
            return true;
    return false;
}
