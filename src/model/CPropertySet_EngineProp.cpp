#include "model/CPropertySet_EngineProp.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 1.0f, -180.0f, 180.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 1.0f, -90.0f, 90.0f, 0},
    {false, EPropertyType::FLOAT, "MAX_TORQUE", 0.1f, 0.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "MASS", 0.1f, 0.0f, 100.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "TOKEN_PROPELLER", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "TOKEN_COLLISION_POINT", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "TOKEN_SERVO", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SLIPSTREAM_SWIRL", 0.05f, -1.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "THROTTLE_EXPO", 0.05f, -0.9f, 0.9f, 0},
};
} // namespace

CPropertySet_EngineProp::CPropertySet_EngineProp()
{
    Init("ENGINE_PROP", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_EngineProp::SetDefaults()
{
    description.clear();
    position = CVector3();
    heading = 0.0f;
    pitch = 0.0f;
    maxTorque = 0.0f;
    mass = 0.0f;
    propeller.clear();
    collisionPoint.clear();
    servo.clear();
    slipstreamSwirl = 0.0f;
    throttleExpo = 0.5f;
}

void CPropertySet_EngineProp::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "HEADING", heading);
    ReadProperty(*this, "PITCH", pitch);
    ReadProperty(*this, "MAX_TORQUE", maxTorque);
    ReadProperty(*this, "MASS", mass);
    ReadProperty(*this, "TOKEN_PROPELLER", propeller);
    ReadProperty(*this, "TOKEN_COLLISION_POINT", collisionPoint);
    ReadProperty(*this, "TOKEN_SERVO", servo);
    ReadProperty(*this, "SLIPSTREAM_SWIRL", slipstreamSwirl);
    ReadProperty(*this, "THROTTLE_EXPO", throttleExpo);
}

void CPropertySet_EngineProp::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "HEADING", heading);
    StoreProperty(*this, "PITCH", pitch);
    StoreProperty(*this, "MAX_TORQUE", maxTorque);
    StoreProperty(*this, "MASS", mass);
    StoreProperty(*this, "TOKEN_PROPELLER", propeller);
    StoreProperty(*this, "TOKEN_COLLISION_POINT", collisionPoint);
    StoreProperty(*this, "TOKEN_SERVO", servo);
    StoreProperty(*this, "SLIPSTREAM_SWIRL", slipstreamSwirl);
    StoreProperty(*this, "THROTTLE_EXPO", throttleExpo);
}
