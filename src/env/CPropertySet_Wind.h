#pragma once
// The wind settings the user edits in the weather dialog and that Output/Weather.txt keeps:
// mean wind speed and direction, the strength of the turbulence and the thermals.
//
// The thermal keys came later than the others: a file without them reads their defaults, and
// their values are clamped to the dialog's ranges (ClampThermals), since a thermal field of a
// thousand thermals per km^2 or of zero radius is no weather a pilot meant.
//
// The set keeps the values as plain members; CWind derives its mean wind vector from them.
// Storing the members writes the properties one by one, and every changed property calls
// ApplyProperties, which would read the properties not stored yet back over the members; the
// storing flag makes those intermediate applies no-ops, so a store is all-or-nothing.

#include <string>

#include "data/CPropertySet.h"

class CPropertySet_Wind : public CPropertySet
{
public:
    static constexpr float kDefaultVelocity = 2.0f;   // m/s
    static constexpr float kDefaultHeading = 180.0f;  // deg: blows towards +z
    static constexpr float kDefaultPitch = 0.0f;      // deg
    static constexpr float kDefaultTurbulence = 0.0f; // no turbulence
    static constexpr float kDefaultThermalStrength = 1.5f;  // m/s at the core
    static constexpr float kDefaultThermalRadius = 40.0f;   // m
    static constexpr float kDefaultThermalDensity = 2.0f;   // per km^2
    static constexpr float kDefaultThermalLifetime = 300.0f; // s

    // Range of each thermal key (also the dialog's).
    struct TRange
    {
        const char* key;
        float low, high;
    };
    static const TRange kThermalRanges[4];

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
    float thermalStrength = kDefaultThermalStrength; // THERMAL_STRENGTH, m/s, 0 = no thermals
    float thermalRadius = kDefaultThermalRadius;     // THERMAL_RADIUS, m
    float thermalDensity = kDefaultThermalDensity;   // THERMAL_DENSITY, thermals per km^2
    float thermalLifetime = kDefaultThermalLifetime; // THERMAL_LIFETIME, s

    // Clamps the thermal members into their ranges (a value that is not a number takes the
    // default) and stores them. Returns the keys changed, separated by spaces (empty when none).
    std::string ClampThermals();

private:
    bool m_storing = false;
};
