#include "model/CPropertySet_Propeller.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DIAMETER", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 0.01f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "CHORD_TO_DIAMETER_RATIO", 0.005f, 0.0f, 1.0f, 0},
    {false, EPropertyType::UNKNOWN, "NUMBER_OF_BLADES", 1.0f, 1.0f, 8.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "AIRFOIL", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_Propeller::CPropertySet_Propeller()
{
    Init("PROPELLER", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Propeller::SetDefaults()
{
    description.clear();
    diameter = 0.12f;
    pitch = 14.0f;
    chordToDiameterRatio = 0.075f;
    numberOfBlades = 2;
    airfoil = "NACA0012.afl";
}

void CPropertySet_Propeller::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "DIAMETER", diameter);
    ReadProperty(*this, "PITCH", pitch);
    ReadProperty(*this, "CHORD_TO_DIAMETER_RATIO", chordToDiameterRatio);
    ReadProperty(*this, "NUMBER_OF_BLADES", numberOfBlades);
    ReadProperty(*this, "AIRFOIL", airfoil);
}

void CPropertySet_Propeller::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "DIAMETER", diameter);
    StoreProperty(*this, "PITCH", pitch);
    StoreProperty(*this, "CHORD_TO_DIAMETER_RATIO", chordToDiameterRatio);
    StoreProperty(*this, "NUMBER_OF_BLADES", numberOfBlades);
    StoreProperty(*this, "AIRFOIL", airfoil);
}
