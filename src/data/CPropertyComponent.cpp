#include "data/CPropertyComponent.h"

#include "data/CProperty.h"

float CPropertyComponent::Get() const
{
    if (m_property.Type() != EPropertyType::VECTOR3)
        return 0.0f;
    return m_property.m_floats[m_index];
}

void CPropertyComponent::Set(float value)
{
    if (m_property.Type() != EPropertyType::VECTOR3)
        return;
    m_property.m_floats[m_index] = value;
    m_property.NotifyChanged();
}
