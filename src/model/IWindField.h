#pragma once
// What the flight model needs from the weather: the wind at a point. src/env's wind answers it
// through an adapter the flight process installs.

#include "core/CVector3.h"

class IWindField
{
public:
    virtual ~IWindField() = default;
    // Wind velocity (world frame, m/s) at a world point, with turbulence: what the wings and
    // the drag part feel.
    virtual CVector3 GetWind(const CVector3& worldPoint) const = 0;
    // Mean wind (world frame, m/s) without turbulence: what the model's air data and the
    // instruments are computed against.
    virtual CVector3 GetMeanWind() const = 0;
};

// No weather: still air.
class CNullWindField : public IWindField
{
public:
    CVector3 GetWind(const CVector3&) const override { return CVector3(); }
    CVector3 GetMeanWind() const override { return CVector3(); }
};
