#pragma once
// atan2 for the force loop (every wing segment asks each sub-step): a polynomial in place of the
// library call, within 1e-6 rad of it over the whole circle. The library takes zeros, infinities
// and NaN, so every sign and quadrant convention stays its own.

#include <algorithm>
#include <cfloat>
#include <cmath>

// Angle of (x, y) in radians, in [-pi, pi].
inline float FastAtan2(float y, float x)
{
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (!(ax <= FLT_MAX && ay <= FLT_MAX) || (ax == 0.0f && ay == 0.0f))
        return std::atan2(y, x);
    const float t = std::min(ax, ay) / std::max(ax, ay); // in [0, 1]
    const float u = t * t;
    // Minimax fit of atan(t) on [0, 1] in odd powers: 3.8e-8 rad before float rounding.
    float a = -4.054567244e-03f;
    a = a * u + 2.186295800e-02f;
    a = a * u - 5.591232698e-02f;
    a = a * u + 9.642197346e-02f;
    a = a * u - 1.390862956e-01f;
    a = a * u + 1.994656565e-01f;
    a = a * u - 3.332986078e-01f;
    a = a * u + 9.999993356e-01f;
    a *= t;
    if (ay > ax)
        a = 1.57079637f - a;
    if (x < 0.0f)
        a = 3.14159274f - a;
    return std::copysign(a, y);
}
