#pragma once
// The keys of a WHEEL3 block.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Wheel3 : public CPartPropertySet
{
public:
    CPropertySet_Wheel3();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    CVector3 position;                   // POSITION, hub, body frame, m
    float heading = 0.0f;                // HEADING, deg in the body
    float inertia = 0.01f;               // INERTIA, about the axle, kg*m^2
    float springRestLength = 0.0f;       // SUSPENSION_SPRING_REST_LENGTH, travel, m
    float springiness = 300.0f;          // SUSPENSION_SPRINGINESS, N/m
    float dampingSq = 20.0f;             // SUSPENSION_DAMPING_SQ, N*s^2/m^2
    float dampingLin = 20.0f;            // SUSPENSION_DAMPING_LIN, N*s/m
    float tractionStringiness = -500.0f; // TRACTION_STRINGINESS, N/m (negative: restoring)
    float axialStringiness = -500.0f;    // AXIAL_STRINGINESS, N/m
    float dynamicFriction = 0.3f;        // DYNAMIC_FRICTION
    float staticFriction = 5.0f;         // STATIC_FRICTION
    float radius = 0.18f;                // RADIUS, m
    float width = 0.02f;                 // WIDTH, m (display)
    float spinDamping = 0.002f;          // SPIN_DAMPING: spin drag -k (w|w| + w), N*m with w in rad/s
    float rollingResistance = 0.0f;      // ROLLING_RESISTANCE: coefficient Crr, drag Crr * load
    float corneringStiffness = 0.0f;     // CORNERING_STIFFNESS: side force per slip angle and load, 1/rad
    float maxSteeringAngle = 30.0f;      // MAX_STEERING_ANGLE, deg at steering 1
    std::string steeringVariable;        // STEERING_VARIABLE
    float maxTorque = 10.0f;             // MAX_TORQUE, N*m at torque 1 (and at brake 1)
    std::string torqueVariable;          // VARIABLE_TORQUE
    std::string brakeVariable;           // VARIABLE_BRAKE
};
