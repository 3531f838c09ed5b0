#include "model/CPropertySet_InputForce.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "MAX_FORCE", 1.0f, 0.0f, 100.0f, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 1.0f, -180.0f, 180.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 1.0f, -90.0f, 90.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "VARIABLE", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_InputForce::CPropertySet_InputForce()
{
    Init("INPUT_FORCE", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_InputForce::SetDefaults()
{
    description.clear();
    maxForce = 10.0f;
    position = CVector3();
    headingDeg = pitchDeg = 0.0f;
    variable.clear();
}

void CPropertySet_InputForce::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "MAX_FORCE", maxForce);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "HEADING", headingDeg);
    ReadProperty(*this, "PITCH", pitchDeg);
    ReadProperty(*this, "VARIABLE", variable);
}

void CPropertySet_InputForce::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "MAX_FORCE", maxForce);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "HEADING", headingDeg);
    StoreProperty(*this, "PITCH", pitchDeg);
    StoreProperty(*this, "VARIABLE", variable);
}
