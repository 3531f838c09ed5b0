#pragma once
// The keys of a WHEEL block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Wheel : public CPartPropertySet
{
public:
    CPropertySet_Wheel();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    CVector3 position;               // POSITION, contact point, body frame, m
    CVector3 axis{1.0f, 0.0f, 0.0f}; // AXIS, axle direction, body frame (display)
    float diameter = 0.05f;          // DIAMETER, m (display)
    float width = 0.018f;            // WIDTH, m (display)
    float restLength = 0.0f;         // REST_LENGTH, spring travel above the point, m
    float springiness = 500.0f;      // SPRINGINESS, N/m
    float dynamicFriction = 0.32f;   // DYNAMIC_FRICTION, while sliding fast
    float staticFriction = 0.075f;   // STATIC_FRICTION, while sliding slowly
    float damping = 0.05f;           // DAMPING
    float mass = 0.025f;             // MASS, kg
    float sideStaticFriction = 0.0f; // SIDE_STATIC_FRICTION: holds along the axle until mu F (0: none)
};
