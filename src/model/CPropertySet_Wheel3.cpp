#include "model/CPropertySet_Wheel3.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "HEADING", 1.0f, -180.0f, 180.0f, 0},
    {false, EPropertyType::FLOAT, "INERTIA", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SUSPENSION_SPRING_REST_LENGTH", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SUSPENSION_SPRINGINESS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SUSPENSION_DAMPING_SQ", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SUSPENSION_DAMPING_LIN", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "TRACTION_STRINGINESS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "AXIAL_STRINGINESS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DYNAMIC_FRICTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "STATIC_FRICTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "RADIUS", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "WIDTH", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SPIN_DAMPING", 0.001f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "ROLLING_RESISTANCE", 0.01f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "CORNERING_STIFFNESS", 0.5f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "MAX_STEERING_ANGLE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "STEERING_VARIABLE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "MAX_TORQUE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "VARIABLE_TORQUE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "VARIABLE_BRAKE", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_Wheel3::CPropertySet_Wheel3()
{
    Init("WHEEL3", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Wheel3::SetDefaults()
{
    description.clear();
    position = CVector3();
    heading = 0.0f;
    inertia = 0.01f;
    springRestLength = 0.0f;
    springiness = 300.0f;
    dampingSq = 20.0f;
    dampingLin = 20.0f;
    tractionStringiness = -500.0f;
    axialStringiness = -500.0f;
    dynamicFriction = 0.3f;
    staticFriction = 5.0f;
    radius = 0.18f;
    width = 0.02f;
    spinDamping = 0.002f;
    rollingResistance = 0.0f;
    corneringStiffness = 0.0f;
    maxSteeringAngle = 30.0f;
    steeringVariable.clear();
    maxTorque = 10.0f;
    torqueVariable.clear();
    brakeVariable.clear();
}

void CPropertySet_Wheel3::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "HEADING", heading);
    ReadProperty(*this, "INERTIA", inertia);
    ReadProperty(*this, "SUSPENSION_SPRING_REST_LENGTH", springRestLength);
    ReadProperty(*this, "SUSPENSION_SPRINGINESS", springiness);
    ReadProperty(*this, "SUSPENSION_DAMPING_SQ", dampingSq);
    ReadProperty(*this, "SUSPENSION_DAMPING_LIN", dampingLin);
    ReadProperty(*this, "TRACTION_STRINGINESS", tractionStringiness);
    ReadProperty(*this, "AXIAL_STRINGINESS", axialStringiness);
    ReadProperty(*this, "DYNAMIC_FRICTION", dynamicFriction);
    ReadProperty(*this, "STATIC_FRICTION", staticFriction);
    ReadProperty(*this, "RADIUS", radius);
    ReadProperty(*this, "WIDTH", width);
    ReadProperty(*this, "SPIN_DAMPING", spinDamping);
    ReadProperty(*this, "ROLLING_RESISTANCE", rollingResistance);
    ReadProperty(*this, "CORNERING_STIFFNESS", corneringStiffness);
    ReadProperty(*this, "MAX_STEERING_ANGLE", maxSteeringAngle);
    ReadProperty(*this, "STEERING_VARIABLE", steeringVariable);
    ReadProperty(*this, "MAX_TORQUE", maxTorque);
    ReadProperty(*this, "VARIABLE_TORQUE", torqueVariable);
    ReadProperty(*this, "VARIABLE_BRAKE", brakeVariable);
}

void CPropertySet_Wheel3::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "HEADING", heading);
    StoreProperty(*this, "INERTIA", inertia);
    StoreProperty(*this, "SUSPENSION_SPRING_REST_LENGTH", springRestLength);
    StoreProperty(*this, "SUSPENSION_SPRINGINESS", springiness);
    StoreProperty(*this, "SUSPENSION_DAMPING_SQ", dampingSq);
    StoreProperty(*this, "SUSPENSION_DAMPING_LIN", dampingLin);
    StoreProperty(*this, "TRACTION_STRINGINESS", tractionStringiness);
    StoreProperty(*this, "AXIAL_STRINGINESS", axialStringiness);
    StoreProperty(*this, "DYNAMIC_FRICTION", dynamicFriction);
    StoreProperty(*this, "STATIC_FRICTION", staticFriction);
    StoreProperty(*this, "RADIUS", radius);
    StoreProperty(*this, "WIDTH", width);
    StoreProperty(*this, "SPIN_DAMPING", spinDamping);
    StoreProperty(*this, "ROLLING_RESISTANCE", rollingResistance);
    StoreProperty(*this, "CORNERING_STIFFNESS", corneringStiffness);
    StoreProperty(*this, "MAX_STEERING_ANGLE", maxSteeringAngle);
    StoreProperty(*this, "STEERING_VARIABLE", steeringVariable);
    StoreProperty(*this, "MAX_TORQUE", maxTorque);
    StoreProperty(*this, "VARIABLE_TORQUE", torqueVariable);
    StoreProperty(*this, "VARIABLE_BRAKE", brakeVariable);
}
