#pragma once
// A fuel tank: mass only, a 4 cm cube at POSITION weighing the current fuel mass, which
// ApplyProperties resets to CAPACITY (a full tank). An engine that burns fuel lowers it through
// SetFuelMass, which rebuilds the mass element.

#include "model/CPartPhysic.h"
#include "model/CPropertySet_FuelTank.h"

class CPartFuelTank : public CPartPhysic
{
public:
    CPartFuelTank();
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    const char* GetMarkerNode() const override { return "FuelTank.osg"; }

    float GetFuelMass() const { return m_fuelMass; } // kg
    // Clamped to 0 .. CAPACITY; marks the model's mass for recomputation.
    void SetFuelMass(float kg);

private:
    void RebuildMass();

    CPropertySet_FuelTank m_set;
    float m_fuelMass = 0.0f; // kg
};
