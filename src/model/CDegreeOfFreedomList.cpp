#include "model/CDegreeOfFreedomList.h"

CDegreeOfFreedom* CDegreeOfFreedomList::Find(const std::string& name) const
{
    for (const auto& dof : m_items)
        if (dof->Name() == name)
            return dof.get();
    return nullptr;
}

CDegreeOfFreedom* CDegreeOfFreedomList::Get(const std::string& name)
{
    if (name.empty())
        return nullptr;
    if (CDegreeOfFreedom* dof = Find(name))
        return dof;
    m_items.push_back(std::make_unique<CDegreeOfFreedom>(name));
    return m_items.back().get();
}

CDegreeOfFreedom* CDegreeOfFreedomList::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}
