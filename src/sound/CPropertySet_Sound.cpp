#include "sound/CPropertySet_Sound.h"

#include <algorithm>
#include <cmath>

#include "data/CProperty.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::FLOAT, "VOLUME_GLOBAL", 0.1f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "VOLUME_ENGINE", 0.1f, 0.0f, 1.0f, 0},
    {false, EPropertyType::BOOL, "ENABLE_ENGINE_SOUND", 1.0f, 0.0f, 1.0f, 0},
    {false, EPropertyType::BOOL, "POSITIONAL_PANNING", 1.0f, 0.0f, 1.0f, 0},
};

// A hand-edited file may hold anything: a volume is a gain factor of 0 .. 1, and a value that is
// not a number keeps the current one.
void ReadVolume(const CPropertySet& set, const char* key, float& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
    {
        const float value = property->GetFloat();
        if (std::isfinite(value))
            ioValue = std::clamp(value, 0.0f, 1.0f);
    }
}

void ReadSwitch(const CPropertySet& set, const char* key, bool& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetInt() != 0;
}
} // namespace

CPropertySet_Sound::CPropertySet_Sound()
{
    Init("SOUND", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

bool CPropertySet_Sound::ApplyProperties()
{
    if (m_storing)
        return true;
    ReadVolume(*this, "VOLUME_GLOBAL", globalVolume);
    ReadVolume(*this, "VOLUME_ENGINE", engineVolume);
    ReadSwitch(*this, "ENABLE_ENGINE_SOUND", engineEnabled);
    ReadSwitch(*this, "POSITIONAL_PANNING", positionalPanning);
    return true;
}

void CPropertySet_Sound::StoreProperties()
{
    m_storing = true;
    if (CProperty* property = FindProperty("VOLUME_GLOBAL"))
        property->SetFloat(globalVolume);
    if (CProperty* property = FindProperty("VOLUME_ENGINE"))
        property->SetFloat(engineVolume);
    if (CProperty* property = FindProperty("ENABLE_ENGINE_SOUND"))
        property->SetInt(engineEnabled ? 1 : 0);
    if (CProperty* property = FindProperty("POSITIONAL_PANNING"))
        property->SetInt(positionalPanning ? 1 : 0);
    m_storing = false;
}

void CPropertySet_Sound::SetDefaults()
{
    globalVolume = kDefaultVolume;
    engineVolume = kDefaultVolume;
    engineEnabled = true;
    positionalPanning = true;
}
