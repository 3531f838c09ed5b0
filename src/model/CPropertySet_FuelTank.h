#pragma once
// The keys of a FUEL_TANK block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_FuelTank : public CPartPropertySet
{
public:
    CPropertySet_FuelTank();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    CVector3 position;          // POSITION, body frame, m
    float massWhenEmpty = 0.03f; // MASS_WHEN_EMPTY, kg; not counted yet
    float capacity = 0.2f;      // CAPACITY, kg of fuel
};
