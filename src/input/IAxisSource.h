#pragma once
// Where input maps read device axes: the input system, or a table in tests.

class IAxisSource
{
public:
    virtual ~IAxisSource() = default;
    // The axis value; 0 for AXIS_UNKNOWN and anything outside 0..30.
    virtual float GetAxisValue(int axisId) const = 0;
};
