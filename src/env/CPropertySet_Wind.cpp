#include "env/CPropertySet_Wind.h"

#include "data/CProperty.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::FLOAT, "VELOCITY", 1.0f, 0.0f, 20.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 10.0f, -360.0f, 360.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 1.0f, -60.0f, 60.0f, 0},
    {false, EPropertyType::SLIDER, "TURBULENCE_STRENGTH", 0.1f, 0.0f, 1.0f, 0},
};

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
    return true;
}

void CPropertySet_Wind::StoreProperties()
{
    m_storing = true;
    StoreSetting(*this, "VELOCITY", velocity);
    StoreSetting(*this, "HEADING", heading);
    StoreSetting(*this, "PITCH", pitch);
    StoreSetting(*this, "TURBULENCE_STRENGTH", turbulence);
    m_storing = false;
}

void CPropertySet_Wind::SetDefaults()
{
    velocity = kDefaultVelocity;
    heading = kDefaultHeading;
    pitch = kDefaultPitch;
    turbulence = kDefaultTurbulence;
}
