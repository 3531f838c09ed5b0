#pragma once
// How a part hands its forces and torques to the rigid body. The part owns the records (they are
// fixed members, so their addresses never change); the body only keeps pointers to them and sums
// them once per integration sub-step.

#include <string>

#include "core/CVector3.h"

// One force a part applies at one point of the model.
struct CForce
{
    CVector3 vector;           // world frame, N (body frame when bodyAxes)
    CVector3 point;            // application point, body frame, m
    float displayScale = 1.0f; // arrow length per newton when drawn (DISPLAYED_SCALE_OF_FORCES)
    std::string name;          // display name ("Lift", "Gravity")
    int colour = 0;            // palette index of the arrow
    // The part works in body axes (the wings): the sum takes the vector as it stands instead of
    // the part turning it to world axes and the sum turning it straight back each sub-step.
    bool bodyAxes = false;

    CForce() = default;
    CForce(std::string inName, int inColour) : name(std::move(inName)), colour(inColour) {}
};

// One torque a part applies to the whole model (no application point).
struct CTorque
{
    CVector3 vector;           // world frame, N*m
    float displayScale = 1.0f; // kept for the editor; torque arrows are drawn unscaled
    std::string name;          // display name ("Torque Drag")
    int colour = 0;            // palette index of the arrow

    CTorque() = default;
    CTorque(std::string inName, int inColour) : name(std::move(inName)), colour(inColour) {}
};
