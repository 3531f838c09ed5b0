#include "input/CKeyboardAxis.h"

#include <cmath>

namespace
{
constexpr float kMinTimeFullRange = 0.01f; // s: keeps the rate finite
}

void CKeyboardAxis::SetTimeFullRange(float seconds)
{
    // NaN fails every comparison; it must not reach the rate.
    if (!(seconds >= kMinTimeFullRange))
        seconds = kMinTimeFullRange;
    timeFullRange = seconds;
    rate = std::fabs(max - min) / timeFullRange;
}

void CKeyboardAxis::Update(float frameTime)
{
    const float step = rate * frameTime;
    if (incHeld && !decHeld)
    {
        value += step;
        if (value >= max)
            value = max;
    }
    else if (decHeld && !incHeld)
    {
        value -= step;
        if (value < min)
            value = min;
    }
    else if ((incHeld && decHeld) || autoCentre)
    {
        MoveTowardCentre(step);
    }
}

void CKeyboardAxis::MoveTowardCentre(float step)
{
    if (value > centre)
    {
        value -= step;
        if (value < centre)
            value = centre;
    }
    else if (value < centre)
    {
        value += step;
        if (value >= centre)
            value = centre;
    }
}
