#include "model/CAirfoilList.h"

#include <cctype>

#include "core/Diagnostics.h"
#include "model/CAirfoil.h"

namespace
{
bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}
} // namespace

CAirfoilList::CAirfoilList() = default;
CAirfoilList::~CAirfoilList() = default;

CAirfoilList& CAirfoilList::Shared()
{
    static CAirfoilList list;
    return list;
}

CAirfoil* CAirfoilList::Get(const std::string& fileName, std::string* outReason)
{
    for (const auto& airfoil : m_airfoils)
    {
        if (EqualNoCase(airfoil->GetFileName(), fileName))
            return airfoil.get();
    }
    auto airfoil = std::make_unique<CAirfoil>();
    if (!airfoil->Load(fileName, outReason))
        return nullptr;
    m_airfoils.push_back(std::move(airfoil));
    return m_airfoils.back().get();
}

CAirfoil* CAirfoilList::GetForPart(const std::string& fileName, const std::string& who)
{
    std::string name = fileName;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    if (name.empty())
    {
        DiagPrint("%s: no AIRFOIL given; the part produces no force\n", who.c_str());
        return nullptr;
    }
    std::string reason;
    CAirfoil* airfoil = Get(name, &reason);
    if (!airfoil)
    {
        DiagPrint("%s: AIRFOIL '%s' %s; the part produces no force\n", who.c_str(), name.c_str(), reason.c_str());
        return nullptr;
    }
    if (!airfoil->HasCoefficients())
    {
        DiagPrint("%s: AIRFOIL '%s' has no usable coefficient table; the part produces no force\n", who.c_str(),
                  name.c_str());
        return nullptr;
    }
    return airfoil;
}

CAirfoil* CAirfoilList::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_airfoils[static_cast<size_t>(index)].get();
}
