#pragma once
// The keys of an INPUT_FORCE block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_InputForce : public CPartPropertySet
{
public:
    CPropertySet_InputForce();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    float maxForce = 10.0f; // MAX_FORCE, N at variable value 1
    CVector3 position;      // POSITION, body frame, m
    float headingDeg = 0.0f; // HEADING
    float pitchDeg = 0.0f;   // PITCH
    std::string variable;   // VARIABLE, name in the model's search list
};
