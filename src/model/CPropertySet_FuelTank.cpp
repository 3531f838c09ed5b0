#include "model/CPropertySet_FuelTank.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "MASS_WHEN_EMPTY", 0.1f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "CAPACITY", 0.01f, 0.0f, 10.0f, 0},
};
} // namespace

CPropertySet_FuelTank::CPropertySet_FuelTank()
{
    Init("FUEL_TANK", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_FuelTank::SetDefaults()
{
    description.clear();
    position = CVector3();
    massWhenEmpty = 0.03f;
    capacity = 0.2f;
}

void CPropertySet_FuelTank::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "MASS_WHEN_EMPTY", massWhenEmpty);
    ReadProperty(*this, "CAPACITY", capacity);
}

void CPropertySet_FuelTank::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "MASS_WHEN_EMPTY", massWhenEmpty);
    StoreProperty(*this, "CAPACITY", capacity);
}
