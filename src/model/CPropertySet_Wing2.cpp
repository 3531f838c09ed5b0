#include "model/CPropertySet_Wing2.h"

#include "model/AirfoilAerodynamics.h"
#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "AIRFOIL", 0.1f, kPropertyMin, kPropertyMax, kPropertyFlagExtraSpace},
    {false, EPropertyType::FLOAT, "CHORD", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "SPAN", 0.01f, 0.0f, 20.0f, kPropertyFlagExtraSpace},
    {false, EPropertyType::VECTOR3, "POSITION", 0.01f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "POSITION_TYPE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "DIRECTION", 0.01f, -1.0f, 1.0f, 0},
    {false, EPropertyType::VECTOR3, "NORMAL", 0.01f, -1.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 1.0f, -360.0f, 360.0f, 0},
    {false, EPropertyType::FLOAT, "PITCH", 0.1f, -360.0f, 360.0f, 0},
    {false, EPropertyType::FLOAT, "ROLL", 0.1f, -360.0f, 360.0f, kPropertyFlagExtraSpace},
    {false, EPropertyType::FLOAT, "CONTROL_SURFACE_MAX_ANGLE", 1.0f, -90.0f, 90.0f, 0},
    {false, EPropertyType::FLOAT, "CONTROL_SURFACE_CHORD", 0.01f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "CONTROL_SURFACE_MAX_LIFT", 0.05f, 0.0f, 3.0f, 0},
    {false, EPropertyType::TOKEN_EXT, "CONTROL_SURFACE_VARIABLE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "3DMODEL_DOF", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_Wing2::CPropertySet_Wing2()
{
    Init("WING2", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Wing2::SetDefaults()
{
    description.clear();
    airfoil = "NACA0012.afl";
    chord = 0.21f;
    span = 0.6f;
    position = CVector3();
    positionType = "LEFT_LE";
    direction = CVector3();
    normal = CVector3();
    heading = 0.0f;
    pitch = 3.38f;
    roll = 7.0f;
    controlSurfaceMaxAngle = 20.0f;
    controlSurfaceChord = 0.23f;
    controlSurfaceMaxLift = Aero::kMaxControlLift;
    controlSurfaceVariable = "V_CH1";
    dof.clear();
}

void CPropertySet_Wing2::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "AIRFOIL", airfoil);
    ReadProperty(*this, "CHORD", chord);
    ReadProperty(*this, "SPAN", span);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "POSITION_TYPE", positionType);
    ReadProperty(*this, "DIRECTION", direction);
    ReadProperty(*this, "NORMAL", normal);
    ReadProperty(*this, "HEADING", heading);
    ReadProperty(*this, "PITCH", pitch);
    ReadProperty(*this, "ROLL", roll);
    ReadProperty(*this, "CONTROL_SURFACE_MAX_ANGLE", controlSurfaceMaxAngle);
    ReadProperty(*this, "CONTROL_SURFACE_CHORD", controlSurfaceChord);
    ReadProperty(*this, "CONTROL_SURFACE_MAX_LIFT", controlSurfaceMaxLift);
    ReadProperty(*this, "CONTROL_SURFACE_VARIABLE", controlSurfaceVariable);
    ReadProperty(*this, "3DMODEL_DOF", dof);
}

void CPropertySet_Wing2::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "AIRFOIL", airfoil);
    StoreProperty(*this, "CHORD", chord);
    StoreProperty(*this, "SPAN", span);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "POSITION_TYPE", positionType);
    StoreProperty(*this, "DIRECTION", direction);
    StoreProperty(*this, "NORMAL", normal);
    StoreProperty(*this, "HEADING", heading);
    StoreProperty(*this, "PITCH", pitch);
    StoreProperty(*this, "ROLL", roll);
    StoreProperty(*this, "CONTROL_SURFACE_MAX_ANGLE", controlSurfaceMaxAngle);
    StoreProperty(*this, "CONTROL_SURFACE_CHORD", controlSurfaceChord);
    StoreProperty(*this, "CONTROL_SURFACE_MAX_LIFT", controlSurfaceMaxLift);
    StoreProperty(*this, "CONTROL_SURFACE_VARIABLE", controlSurfaceVariable);
    StoreProperty(*this, "3DMODEL_DOF", dof);
}
