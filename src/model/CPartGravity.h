#pragma once
// Gravity: the model's weight, (0, -9.81 * mass, 0) N in world axes at the centre of mass. The
// body has no gravity of its own; a model without a GRAVITY part floats.

#include "model/CPartPhysic.h"
#include "model/CPropertySet_Gravity.h"

class CPartGravity : public CPartPhysic
{
public:
    static constexpr float kGravity = 9.81f; // m/s^2

    CPartGravity();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;

private:
    CPropertySet_Gravity m_set;
};
