#pragma once
// The keys of a PROPELLER block.

#include <string>

#include "model/CPartPropertySet.h"

class CPropertySet_Propeller : public CPartPropertySet
{
public:
    CPropertySet_Propeller();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    float diameter = 0.12f;             // DIAMETER, m
    float pitch = 14.0f;                // PITCH, geometric advance per revolution, m
    float chordToDiameterRatio = 0.075f; // CHORD_TO_DIAMETER_RATIO, blade chord / diameter
    int numberOfBlades = 2;             // NUMBER_OF_BLADES
    std::string airfoil;                // AIRFOIL, file name in Data/Airfoil/
};
