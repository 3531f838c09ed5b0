#include "fdm/CHeadingPilot.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kRadToDeg = 180.0f / kPi;
} // namespace

void CHeadingPilot::Start(float headingRad, float fullSwingDeg)
{
    m_heldRad = headingRad;
    m_fullSwingDeg = fullSwingDeg;
    m_seen.clear();
}

float CHeadingPilot::Stick(float headingRad, float t)
{
    const float error = std::remainder(headingRad - m_heldRad, 2.0f * kPi) * kRadToDeg;
    m_seen.push_back({t, error});
    // What the pilot sees now happened a reaction time ago; keep one older sight for the rate.
    while (m_seen.size() > 2 && m_seen[2].time <= t - kReactionSeconds)
        m_seen.pop_front();
    size_t seen = 0;
    while (seen + 1 < m_seen.size() && m_seen[seen + 1].time <= t - kReactionSeconds)
        ++seen;
    float rate = 0.0f; // deg/s
    if (seen > 0 && m_seen[seen].time > m_seen[seen - 1].time)
        rate = (m_seen[seen].errorDeg - m_seen[seen - 1].errorDeg) / (m_seen[seen].time - m_seen[seen - 1].time);
    const float lead = m_seen[seen].errorDeg + kLeadSeconds * rate;
    return std::clamp(-lead / m_fullSwingDeg, -1.0f, 1.0f);
}
