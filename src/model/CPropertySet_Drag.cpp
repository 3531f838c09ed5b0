#include "model/CPropertySet_Drag.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "FRONTAL_DRAG_AREA", 0.01f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "FRONTAL_DRAG_COEFFICIENT", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "ANGULAR_DAMPING_LIN", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "ANGULAR_DAMPING_SQ", 0.01f, 0.0f, 10.0f, 0},
};
} // namespace

CPropertySet_Drag::CPropertySet_Drag()
{
    Init("DRAG", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Drag::SetDefaults()
{
    description.clear();
    frontalArea = frontalCoefficient = angularDampingLin = angularDampingSq = 0.0f;
}

void CPropertySet_Drag::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "FRONTAL_DRAG_AREA", frontalArea);
    ReadProperty(*this, "FRONTAL_DRAG_COEFFICIENT", frontalCoefficient);
    ReadProperty(*this, "ANGULAR_DAMPING_LIN", angularDampingLin);
    ReadProperty(*this, "ANGULAR_DAMPING_SQ", angularDampingSq);
}

void CPropertySet_Drag::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "FRONTAL_DRAG_AREA", frontalArea);
    StoreProperty(*this, "FRONTAL_DRAG_COEFFICIENT", frontalCoefficient);
    StoreProperty(*this, "ANGULAR_DAMPING_LIN", angularDampingLin);
    StoreProperty(*this, "ANGULAR_DAMPING_SQ", angularDampingSq);
}
