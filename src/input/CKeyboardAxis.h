#pragma once
// One keyboard axis: a pair of keys (the UC_KEYAXIS_n_INC / _DEC commands) turned into an
// analogue value that ramps at Rate while a key is held and, with AutoCentre, returns to Centre
// when neither is. Both keys held also return it to Centre.

#include <cstdint>

#include "input/InputIds.h"

class CKeyboardAxis
{
public:
    float value = 0.0f;           // current output; its address is the axis pointer
    uint32_t axisId = AXIS_UNKNOWN; // AXIS_KEYBOARD_n it was read as; AXIS_UNKNOWN = not configured
    float min = -1.0f;
    float max = 1.0f;
    float centre = 0.0f;
    float rate = 0.0f;          // units per second = |max - min| / timeFullRange
    float timeFullRange = 0.0f; // seconds for a full sweep (>= 0.01 once set)
    bool autoCentre = true;
    bool incHeld = false;
    bool decHeld = false;

    // Values below 0.01 s become 0.01 s; the rate follows.
    void SetTimeFullRange(float seconds);
    // One frame of the ramp.
    void Update(float frameTime);

private:
    void MoveTowardCentre(float step);
};
