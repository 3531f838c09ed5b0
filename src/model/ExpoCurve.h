#pragma once
// The expo curve of the flight model: shapes a value in -1 .. 1 (a throttle, a distance
// fraction) while keeping 0 -> 0 and 1 -> 1.
//   k > 0:  sign(x) |x|^(1 - k)          (k = 0.5 gives the square root: a steep start)
//   k <= 0: 1 - (1 - x)^(1 + k) for x > 0, (1 + x)^(1 + k) - 1 for x <= 0
// Used by the engine's torque curve and the shape of the propeller's slipstream.

#include <cmath>

inline float Expo(float x, float k)
{
    if (k > 0.0f)
    {
        const float magnitude = std::pow(std::fabs(x), 1.0f - k);
        return x < 0.0f ? -magnitude : magnitude;
    }
    if (x > 0.0f)
        return 1.0f - std::pow(1.0f - x, 1.0f + k);
    return std::pow(1.0f + x, 1.0f + k) - 1.0f;
}
