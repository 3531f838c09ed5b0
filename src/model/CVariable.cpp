#include "model/CVariable.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "data/CComponentNode.h"
#include "data/CProperty.h"
#include "data/CPropertyComponent.h"

float CVariable::GetValue() const
{
    if (m_unresolved)
        return 0.0f;
    if (HasLiveLink())
    {
        if (m_linkedProperty != nullptr)
            return m_linkedProperty->GetFloat();
        // 0 when the property has stopped being a VECTOR3.
        return m_linkedComponent->Get();
    }
    return m_value;
}

void CVariable::SetValue(float value)
{
    if (m_unresolved)
    {
        m_unresolved = false;
        ResolveLink();
    }
    else if ((m_linkedProperty != nullptr || m_linkedComponent != nullptr) && !HasLiveLink())
    {
        // The linked property went away (part deleted, model reloaded): a property of the same
        // path may exist again.
        ResolveLink();
    }

    if (HasLiveLink())
    {
        // Functions write their results every frame, and every write that reaches the property
        // re-applies its part and re-weighs the model: a value the link already holds is no
        // change and goes no further.
        const float current = m_linkedProperty != nullptr ? m_linkedProperty->GetFloat() : m_linkedComponent->Get();
        if (current == value || (std::isnan(current) && std::isnan(value)))
            return;
        // Either call can re-enter this variable (the owner's change callback may re-apply a
        // VARIABLE part, which re-initialises it); nothing of this object is used after it.
        if (m_linkedProperty != nullptr)
            m_linkedProperty->SetFloat(value);
        else
            m_linkedComponent->Set(value);
        return;
    }
    m_value = value;
}

void CVariable::Init(const std::string& name, const std::string& description, const std::string& linkText,
                     CComponentNode* linkRoot, float value)
{
    m_name = name;
    m_description = description;
    m_linkText = linkText;
    m_linkRoot = linkRoot;
    m_value = value;
    m_linkedProperty = nullptr;
    m_linkedComponent = nullptr;
    m_linkNode.reset();
    m_unresolved = true;
}

bool CVariable::HasLiveLink() const
{
    return (m_linkedProperty != nullptr || m_linkedComponent != nullptr) && !m_linkNode.expired();
}

void CVariable::ResolveLink()
{
    m_linkedProperty = nullptr;
    m_linkedComponent = nullptr;
    m_linkNode.reset();
    if (m_linkRoot == nullptr || m_linkText.empty())
        return;

    int classType = -1;
    CComponentNode* node = m_linkRoot->Resolve(m_linkText, &classType);
    if (node != nullptr && classType == CLASS_CProperty)
    {
        CProperty* property = static_cast<CProperty*>(node->Object());
        // Only a float property can hold the value; any other type would swallow every write.
        if (property != nullptr &&
            (property->Type() == EPropertyType::FLOAT || property->Type() == EPropertyType::SLIDER))
            m_linkedProperty = property;
        else
            DiagPrint("Variable '%s': LINK '%s' names a property that holds no single number; the variable keeps "
                      "its own value\n",
                      m_name.c_str(), m_linkText.c_str());
    }
    else if (node != nullptr && classType == CLASS_CPropertyComponent)
    {
        m_linkedComponent = static_cast<CPropertyComponent*>(node->Object());
    }
    else
    {
        DiagPrint("Variable '%s': LINK '%s' %s; the variable keeps its own value\n", m_name.c_str(),
                  m_linkText.c_str(), node == nullptr ? "not found" : "names no property");
    }
    if (m_linkedProperty != nullptr || m_linkedComponent != nullptr)
        m_linkNode = node->Handle();
}
