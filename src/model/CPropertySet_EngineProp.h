#pragma once
// The keys of an ENGINE_PROP block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_EngineProp : public CPartPropertySet
{
public:
    CPropertySet_EngineProp();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    CVector3 position;          // POSITION, propeller hub and thrust point, body frame, m
    float heading = 0.0f;       // HEADING, thrust axis, deg (0, 0: the body's -Z axis)
    float pitch = 0.0f;         // PITCH, thrust axis, deg
    float maxTorque = 0.0f;     // MAX_TORQUE, engine torque at full throttle, N*m
    float mass = 0.0f;          // MASS, kg
    std::string propeller;      // TOKEN_PROPELLER, the PROPELLER part this engine turns
    std::string collisionPoint; // TOKEN_COLLISION_POINT, a hit there stops the engine
    std::string servo;          // TOKEN_SERVO, the SERVO whose position is the throttle
    float slipstreamSwirl = 0.0f; // SLIPSTREAM_SWIRL, swirl speed per axial slipstream speed
    float throttleExpo = 0.5f;    // THROTTLE_EXPO, k of the expo curve from throttle to torque
};
