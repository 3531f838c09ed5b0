#pragma once
// Whole-body drag, an attitude-independent frontal drag plus rotation damping:
//   u = body velocity - wind at the body (world)
//   force  = -0.6125 * area * cd * |u| * u    at the centre of mass
//            (0.6125 kg/m^3 is half the sea-level air density 1.225)
//   torque = -(lin * w + sq * |w| * w)        world frame
// Zero area still damps rotation: the damping keys stand on their own.

#include "model/CPartPhysic.h"
#include "model/CPropertySet_Drag.h"

class CPartDrag : public CPartPhysic
{
public:
    static constexpr float kHalfAirDensity = 0.6125f; // kg/m^3

    CPartDrag();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;

private:
    CPropertySet_Drag m_set;
};
