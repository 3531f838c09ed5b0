#include "model/CPropertySet_Gravity.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_Gravity::CPropertySet_Gravity()
{
    Init("GRAVITY", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Gravity::SetDefaults()
{
    description.clear();
}

void CPropertySet_Gravity::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
}

void CPropertySet_Gravity::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
}
