#pragma once
// The keys of a SERVO block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Servo : public CPartPropertySet
{
public:
    CPropertySet_Servo();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    std::string variable;  // VARIABLE, the commanded position (-1 .. 1)
    CVector3 position;     // POSITION, body frame, m
    float mass = 0.0f;     // MASS, kg
    float speed = 0.6f;    // SPEED, seconds per unit of travel
};
