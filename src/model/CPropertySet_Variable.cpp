#include "model/CPropertySet_Variable.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::STRING, "LINK", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "INITIAL_VALUE", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_Variable::CPropertySet_Variable()
{
    Init("VARIABLE", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Variable::SetDefaults()
{
    description.clear();
    link.clear();
    initialValue = 0.0f;
}

void CPropertySet_Variable::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "LINK", link);
    ReadProperty(*this, "INITIAL_VALUE", initialValue);
}

void CPropertySet_Variable::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "LINK", link);
    StoreProperty(*this, "INITIAL_VALUE", initialValue);
}
