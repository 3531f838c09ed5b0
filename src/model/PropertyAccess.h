#pragma once
// Small helpers for the concrete property sets of the parts: read and write a property by key.
// A key the set does not declare is a programming error in that set; the readers then keep the
// member as it is and the writers do nothing.

#include <string>

#include "core/CVector3.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"

inline void ReadProperty(const CPropertySet& set, const char* key, float& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetFloat();
}

inline void ReadProperty(const CPropertySet& set, const char* key, int& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetInt();
}

inline void ReadProperty(const CPropertySet& set, const char* key, CVector3& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetVector3();
}

inline void ReadProperty(const CPropertySet& set, const char* key, std::string& ioValue)
{
    if (const CProperty* property = set.FindProperty(key))
        ioValue = property->GetString();
}

inline void ReadProperty(const CPropertySet& set, const char* key, float& ioX, float& ioY)
{
    if (const CProperty* property = set.FindProperty(key))
        property->GetVector2(ioX, ioY);
}

inline void StoreProperty(CPropertySet& set, const char* key, float value)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetFloat(value);
}

inline void StoreProperty(CPropertySet& set, const char* key, int value)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetInt(value);
}

inline void StoreProperty(CPropertySet& set, const char* key, const CVector3& value)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetVector3(value);
}

inline void StoreProperty(CPropertySet& set, const char* key, const std::string& value)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetString(value);
}

inline void StoreProperty(CPropertySet& set, const char* key, float x, float y)
{
    if (CProperty* property = set.FindProperty(key))
        property->SetVector2(x, y);
}
