#pragma once
// A force driven by a variable: value * MAX_FORCE along a fixed body direction (HEADING, PITCH:
// (sin H cos P, sin P, -cos H cos P)), applied at POSITION. Handy for tests and for simple
// thrusters. Without its variable the part is not linked and pushes nothing.

#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_InputForce.h"

class CVariable;

class CPartInputForce : public CPartPhysic
{
public:
    CPartInputForce();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;

private:
    CPropertySet_InputForce m_set;
    CVector3 m_direction;            // unit, body frame
    CVariable* m_variable = nullptr; // not owned: a record of the model's search list
};
