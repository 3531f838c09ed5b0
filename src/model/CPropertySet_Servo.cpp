#include "model/CPropertySet_Servo.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "VARIABLE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "MASS", 0.1f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "SPEED", 0.05f, 0.0f, 10.0f, 0},
};
} // namespace

CPropertySet_Servo::CPropertySet_Servo()
{
    Init("SERVO", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Servo::SetDefaults()
{
    description.clear();
    variable.clear();
    position = CVector3();
    mass = 0.0f;
    speed = 0.6f;
}

void CPropertySet_Servo::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "VARIABLE", variable);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "MASS", mass);
    ReadProperty(*this, "SPEED", speed);
}

void CPropertySet_Servo::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "VARIABLE", variable);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "MASS", mass);
    StoreProperty(*this, "SPEED", speed);
}
