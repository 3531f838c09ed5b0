#pragma once
// The keys of a BATTERY block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Battery : public CPartPropertySet
{
public:
    CPropertySet_Battery();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    CVector3 position;   // POSITION, body frame, m
    float mass = 0.1f;   // MASS, kg
    float capacity = 0.0f; // CAPACITY (mAh); not used by the physics yet
    int numCells = 4;    // NUM_CELLS; not used by the physics yet
};
