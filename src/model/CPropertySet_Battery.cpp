#include "model/CPropertySet_Battery.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "MASS", 0.1f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "CAPACITY", 0.1f, 0.5f, 5000.0f, 0},
    {false, EPropertyType::UNKNOWN, "NUM_CELLS", 1.0f, 1.0f, 12.0f, 0},
};
} // namespace

CPropertySet_Battery::CPropertySet_Battery()
{
    Init("BATTERY", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Battery::SetDefaults()
{
    description.clear();
    position = CVector3();
    mass = 0.1f;
    capacity = 0.0f;
    numCells = 4;
}

void CPropertySet_Battery::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "MASS", mass);
    ReadProperty(*this, "CAPACITY", capacity);
    ReadProperty(*this, "NUM_CELLS", numCells);
}

void CPropertySet_Battery::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "MASS", mass);
    StoreProperty(*this, "CAPACITY", capacity);
    StoreProperty(*this, "NUM_CELLS", numCells);
}
