#pragma once
// The keys of a DRAG block.

#include <string>

#include "model/CPartPropertySet.h"

class CPropertySet_Drag : public CPartPropertySet
{
public:
    CPropertySet_Drag();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    float frontalArea = 0.0f;        // FRONTAL_DRAG_AREA, m^2
    float frontalCoefficient = 0.0f; // FRONTAL_DRAG_COEFFICIENT
    float angularDampingLin = 0.0f;  // ANGULAR_DAMPING_LIN, N*m per rad/s
    float angularDampingSq = 0.0f;   // ANGULAR_DAMPING_SQ, N*m per (rad/s)^2
};
