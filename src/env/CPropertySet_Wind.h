#pragma once
// The wind settings the user edits in the weather dialog and that Output/Weather.txt keeps:
// mean wind speed and direction, and the strength of the turbulence.
//
// The set keeps the values as plain members; CWind derives its mean wind vector from them.
// Storing the members writes the properties one by one, and every changed property calls
// ApplyProperties, which would read the properties not stored yet back over the members; the
// storing flag makes those intermediate applies no-ops, so a store is all-or-nothing.

#include "data/CPropertySet.h"

class CPropertySet_Wind : public CPropertySet
{
public:
    static constexpr float kDefaultVelocity = 2.0f;   // m/s
    static constexpr float kDefaultHeading = 180.0f;  // deg: blows towards +z
    static constexpr float kDefaultPitch = 0.0f;      // deg
    static constexpr float kDefaultTurbulence = 0.0f; // no turbulence

    CPropertySet_Wind();

    bool ApplyProperties() override;
    void StoreProperties() override;
    void SetDefaults() override;

    // Settings as the file gives them. The ranges of the declarations bind only the dialog's
    // controls: a hand-edited file may hold anything.
    float velocity = kDefaultVelocity;     // VELOCITY, m/s
    float heading = kDefaultHeading;       // HEADING, deg, direction the wind blows towards
    float pitch = kDefaultPitch;           // PITCH, deg, positive blowing upwards
    float turbulence = kDefaultTurbulence; // TURBULENCE_STRENGTH, scale of the blobs, 0..1

private:
    bool m_storing = false;
};
