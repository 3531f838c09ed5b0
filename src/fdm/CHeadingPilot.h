#pragma once
// A pilot who holds the start heading with one channel (the rudder, which also steers the nose
// wheel), as on a take-off run in a crosswind: full stick for `fullSwingDeg` of swing, leading
// the swing by its rate, and seeing each swing a reaction time late. What a model pilot's thumb
// does closed loop, where a fixed schedule of pulses swings one way or the other.

#include <deque>

class CHeadingPilot
{
public:
    static constexpr float kReactionSeconds = 0.15f;
    static constexpr float kLeadSeconds = 0.3f;

    // The heading to hold (rad, clockwise seen from above) and the swing for full stick (deg, > 0).
    void Start(float headingRad, float fullSwingDeg);
    // The stick (-1 .. 1, +1 yaws right) at time t (s) for the model now at headingRad.
    float Stick(float headingRad, float t);

private:
    struct TSeen
    {
        float time;     // s
        float errorDeg; // right of the held heading
    };
    float m_heldRad = 0.0f;
    float m_fullSwingDeg = 10.0f;
    std::deque<TSeen> m_seen; // newest last
};
