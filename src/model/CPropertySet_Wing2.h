#pragma once
// The keys of a WING2 block: one rectangular lifting surface with an optional control surface
// driven by a variable.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Wing2 : public CPartPropertySet
{
public:
    CPropertySet_Wing2();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;              // DESCRIPTION
    std::string airfoil;                  // AIRFOIL, file in Data/Airfoil/
    float chord = 0.21f;                  // CHORD, m
    float span = 0.6f;                    // SPAN, m
    CVector3 position;                    // POSITION, a leading-edge point, body frame, m
    std::string positionType;             // POSITION_TYPE: LEFT_LE, RIGHT_LE or CENTER_LE
    CVector3 direction;                   // DIRECTION, forward (towards the leading edge), body frame
    CVector3 normal;                      // NORMAL, upper-surface normal, body frame
    float heading = 0.0f;                 // HEADING, deg, when the vectors are not used
    float pitch = 3.38f;                  // PITCH, deg
    float roll = 7.0f;                    // ROLL, deg
    float controlSurfaceMaxAngle = 20.0f; // CONTROL_SURFACE_MAX_ANGLE, deg at variable value 1
    float controlSurfaceChord = 0.23f;    // CONTROL_SURFACE_CHORD, fraction of the chord
    float controlSurfaceMaxLift = 0.4f;   // CONTROL_SURFACE_MAX_LIFT, dCl at 20 deg, chord 0.3
    std::string controlSurfaceVariable;   // CONTROL_SURFACE_VARIABLE, drives the deflection
    std::string dof;                      // 3DMODEL_DOF, animated with the deflection
};
