#include "model/CPropertySet_CollisionPoint.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "STATIC_FRICTION", 0.1f, 0.0f, 10.0f, 0},
};
} // namespace

CPropertySet_CollisionPoint::CPropertySet_CollisionPoint()
{
    Init("COLLISION_POINT", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_CollisionPoint::SetDefaults()
{
    position = CVector3();
    staticFriction = 0.0f;
}

void CPropertySet_CollisionPoint::ReadValues()
{
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "STATIC_FRICTION", staticFriction);
}

void CPropertySet_CollisionPoint::WriteValues()
{
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "STATIC_FRICTION", staticFriction);
}
