#include "env/CPropertySet_Wind.h"

#include <algorithm>
#include <cmath>

#include "data/CProperty.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::FLOAT, "VELOCITY", 1.0f, 0.0f, 20.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 10.0f, -360.0f, 360.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 1.0f, -60.0f, 60.0f, 0},
    {false, EPropertyType::SLIDER, "TURBULENCE_STRENGTH", 0.1f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "THERMAL_STRENGTH", 0.5f, 0.0f, 8.0f, 0},
    {false, EPropertyType::FLOAT, "THERMAL_RADIUS", 5.0f, 10.0f, 150.0f, 0},
    {false, EPropertyType::FLOAT, "THERMAL_DENSITY", 0.5f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "THERMAL_LIFETIME", 30.0f, 30.0f, 1200.0f, 0},
};

float* ThermalMember(CPropertySet_Wind& set, int index)
{
    float* members[] = {&set.thermalStrength, &set.thermalRadius, &set.thermalDensity, &set.thermalLifetime};
    return members[index];
}

constexpr float kThermalDefaults[] = {
    CPropertySet_Wind::kDefaultThermalStrength, CPropertySet_Wind::kDefaultThermalRadius,
    CPropertySet_Wind::kDefaultThermalDensity, CPropertySet_Wind::kDefaultThermalLifetime};

void ReadSetting(const CPropertySet& set, const char* key, float& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetFloat();
}

void StoreSetting(CPropertySet& set, const char* key, float value)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetFloat(value);
}
} // namespace

const CPropertySet_Wind::TRange CPropertySet_Wind::kThermalRanges[4] = {
    {"THERMAL_STRENGTH", 0.0f, 8.0f},
    {"THERMAL_RADIUS", 10.0f, 150.0f},
    {"THERMAL_DENSITY", 0.0f, 10.0f},
    {"THERMAL_LIFETIME", 30.0f, 1200.0f},
};

CPropertySet_Wind::CPropertySet_Wind()
{
    Init("WIND", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

bool CPropertySet_Wind::ApplyProperties()
{
    if (m_storing)
        return true;
    ReadSetting(*this, "VELOCITY", velocity);
    ReadSetting(*this, "HEADING", heading);
    ReadSetting(*this, "PITCH", pitch);
    ReadSetting(*this, "TURBULENCE_STRENGTH", turbulence);
    for (int k = 0; k < 4; ++k)
        ReadSetting(*this, kThermalRanges[k].key, *ThermalMember(*this, k));
    return true;
}

void CPropertySet_Wind::StoreProperties()
{
    m_storing = true;
    StoreSetting(*this, "VELOCITY", velocity);
    StoreSetting(*this, "HEADING", heading);
    StoreSetting(*this, "PITCH", pitch);
    StoreSetting(*this, "TURBULENCE_STRENGTH", turbulence);
    for (int k = 0; k < 4; ++k)
        StoreSetting(*this, kThermalRanges[k].key, *ThermalMember(*this, k));
    m_storing = false;
}

void CPropertySet_Wind::SetDefaults()
{
    velocity = kDefaultVelocity;
    heading = kDefaultHeading;
    pitch = kDefaultPitch;
    turbulence = kDefaultTurbulence;
    for (int k = 0; k < 4; ++k)
        *ThermalMember(*this, k) = kThermalDefaults[k];
}

std::string CPropertySet_Wind::ClampThermals()
{
    std::string changed;
    for (int k = 0; k < 4; ++k)
    {
        float& value = *ThermalMember(*this, k);
        const float clamped = std::isfinite(value) ? std::clamp(value, kThermalRanges[k].low, kThermalRanges[k].high)
                                                   : kThermalDefaults[k];
        if (clamped == value)
            continue;
        value = clamped;
        changed += changed.empty() ? "" : " ";
        changed += kThermalRanges[k].key;
    }
    if (!changed.empty())
        StoreProperties();
    return changed;
}
