#include "model/CPropertySet_Wheel.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::VECTOR3, "AXIS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DIAMETER", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "WIDTH", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "REST_LENGTH", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SPRINGINESS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DYNAMIC_FRICTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "STATIC_FRICTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DAMPING", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "MASS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SIDE_STATIC_FRICTION", 0.1f, 0.0f, 10.0f, 0},
};
} // namespace

CPropertySet_Wheel::CPropertySet_Wheel()
{
    Init("WHEEL", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Wheel::SetDefaults()
{
    description.clear();
    position = CVector3();
    axis = CVector3(1.0f, 0.0f, 0.0f);
    diameter = 0.05f;
    width = 0.018f;
    restLength = 0.0f;
    springiness = 500.0f;
    dynamicFriction = 0.32f;
    staticFriction = 0.075f;
    damping = 0.05f;
    mass = 0.025f;
    sideStaticFriction = 0.0f;
}

void CPropertySet_Wheel::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "AXIS", axis);
    ReadProperty(*this, "DIAMETER", diameter);
    ReadProperty(*this, "WIDTH", width);
    ReadProperty(*this, "REST_LENGTH", restLength);
    ReadProperty(*this, "SPRINGINESS", springiness);
    ReadProperty(*this, "DYNAMIC_FRICTION", dynamicFriction);
    ReadProperty(*this, "STATIC_FRICTION", staticFriction);
    ReadProperty(*this, "DAMPING", damping);
    ReadProperty(*this, "MASS", mass);
    ReadProperty(*this, "SIDE_STATIC_FRICTION", sideStaticFriction);
}

void CPropertySet_Wheel::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "AXIS", axis);
    StoreProperty(*this, "DIAMETER", diameter);
    StoreProperty(*this, "WIDTH", width);
    StoreProperty(*this, "REST_LENGTH", restLength);
    StoreProperty(*this, "SPRINGINESS", springiness);
    StoreProperty(*this, "DYNAMIC_FRICTION", dynamicFriction);
    StoreProperty(*this, "STATIC_FRICTION", staticFriction);
    StoreProperty(*this, "DAMPING", damping);
    StoreProperty(*this, "MASS", mass);
    StoreProperty(*this, "SIDE_STATIC_FRICTION", sideStaticFriction);
}
