#include "model/CPropertySet_Wing.h"

#include <algorithm>
#include <string>

#include "model/AirfoilAerodynamics.h"
#include "model/PropertyAccess.h"

namespace
{
#define KESTRO_SEGMENT_KEYS(n)                                                                          \
    {false, EPropertyType::TOKEN_EXT, "SEG" #n "_SERVO", 0.1f, kPropertyMin, kPropertyMax, 0},          \
    {false, EPropertyType::TOKEN_EXT, "SEG" #n "_SERVO_SYMMETRICAL", 0.1f, kPropertyMin, kPropertyMax, 0}, \
    {false, EPropertyType::BOOL, "SEG" #n "_SERVO_REV", 1.0f, 0.0f, 1.0f, 0},                            \
    {false, EPropertyType::BOOL, "SEG" #n "_SERVO_REV_SYMMETRICAL", 1.0f, 0.0f, 1.0f, 0},                \
    {false, EPropertyType::FLOAT, "SEG" #n "_CONTROL_CHORD_FRACTION", 0.01f, 0.0f, 1.0f, 0},             \
    {false, EPropertyType::FLOAT, "SEG" #n "_MAX_DEFLECTION_ANGLE", 1.0f, -90.0f, 90.0f, 0},            \
    {false, EPropertyType::FLOAT, "SEG" #n "_INCIDENCE_INC", 0.1f, -90.0f, 90.0f, 0},                   \
    {false, EPropertyType::TOKEN_EXT, "SEG" #n "_DOF", 0.1f, kPropertyMin, kPropertyMax, 0},             \
    {false, EPropertyType::TOKEN_EXT, "SEG" #n "_DOF_SYMMETRICAL", 0.1f, kPropertyMin, kPropertyMax,     \
     kPropertyFlagExtraSpace}

const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::TOKEN_EXT, "AIRFOIL", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::BOOL, "SYMMETRICAL", 1.0f, 0.0f, 1.0f, kPropertyFlagExtraSpace},
    {false, EPropertyType::FLOAT, "HALF_SPAN", 0.01f, 0.0f, 20.0f, 0},
    {false, EPropertyType::FLOAT, "ROOT_CHORD", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "TIP_CHORD", 0.01f, 0.0f, 10.0f, 0},
    {false, EPropertyType::FLOAT, "EFFICIENCY", 0.01f, 0.0f, 1.0f, 0},
    {false, EPropertyType::FLOAT, "INCIDENCE", 0.1f, -90.0f, 90.0f, 0},
    {false, EPropertyType::FLOAT, "SWEEP_ANGLE", 1.0f, -80.0f, 80.0f, 0},
    {false, EPropertyType::FLOAT, "DIHEDRAL", 0.5f, -90.0f, 90.0f, 0},
    {false, EPropertyType::VECTOR3, "POSITION", 0.01f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "ROLL_ANGLE", 0.5f, -180.0f, 180.0f, 0},
    {false, EPropertyType::UNKNOWN, "NUMBER_OF_SEGMENTS", 1.0f, 1.0f, 4.0f, 0},
    {false, EPropertyType::FLOAT, "DENSITY_KG_PER_SQ_METER", 0.1f, 0.0f, 100.0f, 0},
    {false, EPropertyType::FLOAT, "CONTROL_MAX_LIFT", 0.05f, 0.0f, 3.0f, 0},
    {false, EPropertyType::FLOAT, "DOWNWASH", 0.05f, 0.0f, 1.0f, 0},
    {false, EPropertyType::BOOL, "LIFTING_LINE", 1.0f, 0.0f, 1.0f, kPropertyFlagExtraSpace},
    KESTRO_SEGMENT_KEYS(0),
    KESTRO_SEGMENT_KEYS(1),
    KESTRO_SEGMENT_KEYS(2),
    KESTRO_SEGMENT_KEYS(3),
};
#undef KESTRO_SEGMENT_KEYS

std::string SegmentKey(int segment, const char* suffix)
{
    return "SEG" + std::to_string(segment) + "_" + suffix;
}

void ReadBool(const CPropertySet& set, const std::string& key, bool& ioValue)
{
    int value = ioValue ? 1 : 0;
    ReadProperty(set, key.c_str(), value);
    ioValue = value != 0;
}
} // namespace

CPropertySet_Wing::CPropertySet_Wing()
{
    Init("WING3", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_Wing::SetDefaults()
{
    description.clear();
    airfoil = "NACA0012.afl";
    symmetrical = true;
    halfSpan = 0.7f;
    rootChord = 0.15f;
    tipChord = 0.1f;
    efficiency = 0.7f;
    incidence = 0.0f;
    sweepAngle = 0.0f;
    dihedral = 6.0f;
    position = CVector3();
    rollAngle = 0.0f;
    segmentCount = 2;
    density = 1.6f;
    controlMaxLift = Aero::kMaxControlLift;
    downwash = 0.0f;
    liftingLine = false;
    for (TSegment& segment : segments)
        segment = TSegment();
}

void CPropertySet_Wing::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "AIRFOIL", airfoil);
    ReadBool(*this, "SYMMETRICAL", symmetrical);
    ReadProperty(*this, "HALF_SPAN", halfSpan);
    ReadProperty(*this, "ROOT_CHORD", rootChord);
    ReadProperty(*this, "TIP_CHORD", tipChord);
    ReadProperty(*this, "EFFICIENCY", efficiency);
    ReadProperty(*this, "INCIDENCE", incidence);
    ReadProperty(*this, "SWEEP_ANGLE", sweepAngle);
    ReadProperty(*this, "DIHEDRAL", dihedral);
    ReadProperty(*this, "POSITION", position);
    ReadProperty(*this, "ROLL_ANGLE", rollAngle);
    ReadProperty(*this, "NUMBER_OF_SEGMENTS", segmentCount);
    segmentCount = std::clamp(segmentCount, 1, kMaxSegments);
    ReadProperty(*this, "DENSITY_KG_PER_SQ_METER", density);
    ReadProperty(*this, "CONTROL_MAX_LIFT", controlMaxLift);
    ReadProperty(*this, "DOWNWASH", downwash);
    ReadBool(*this, "LIFTING_LINE", liftingLine);
    for (int n = 0; n < kMaxSegments; ++n)
    {
        TSegment& segment = segments[n];
        ReadProperty(*this, SegmentKey(n, "SERVO").c_str(), segment.servo);
        ReadProperty(*this, SegmentKey(n, "SERVO_SYMMETRICAL").c_str(), segment.servoSymmetrical);
        ReadBool(*this, SegmentKey(n, "SERVO_REV"), segment.servoReverse);
        ReadBool(*this, SegmentKey(n, "SERVO_REV_SYMMETRICAL"), segment.servoReverseSymmetrical);
        ReadProperty(*this, SegmentKey(n, "CONTROL_CHORD_FRACTION").c_str(), segment.controlChordFraction);
        ReadProperty(*this, SegmentKey(n, "MAX_DEFLECTION_ANGLE").c_str(), segment.maxDeflection);
        ReadProperty(*this, SegmentKey(n, "INCIDENCE_INC").c_str(), segment.incidenceIncrement);
        ReadProperty(*this, SegmentKey(n, "DOF").c_str(), segment.dof);
        ReadProperty(*this, SegmentKey(n, "DOF_SYMMETRICAL").c_str(), segment.dofSymmetrical);
    }
}

void CPropertySet_Wing::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "AIRFOIL", airfoil);
    StoreProperty(*this, "SYMMETRICAL", symmetrical ? 1 : 0);
    StoreProperty(*this, "HALF_SPAN", halfSpan);
    StoreProperty(*this, "ROOT_CHORD", rootChord);
    StoreProperty(*this, "TIP_CHORD", tipChord);
    StoreProperty(*this, "EFFICIENCY", efficiency);
    StoreProperty(*this, "INCIDENCE", incidence);
    StoreProperty(*this, "SWEEP_ANGLE", sweepAngle);
    StoreProperty(*this, "DIHEDRAL", dihedral);
    StoreProperty(*this, "POSITION", position);
    StoreProperty(*this, "ROLL_ANGLE", rollAngle);
    StoreProperty(*this, "NUMBER_OF_SEGMENTS", segmentCount);
    StoreProperty(*this, "DENSITY_KG_PER_SQ_METER", density);
    StoreProperty(*this, "CONTROL_MAX_LIFT", controlMaxLift);
    StoreProperty(*this, "DOWNWASH", downwash);
    StoreProperty(*this, "LIFTING_LINE", liftingLine ? 1 : 0);
    for (int n = 0; n < kMaxSegments; ++n)
    {
        const TSegment& segment = segments[n];
        StoreProperty(*this, SegmentKey(n, "SERVO").c_str(), segment.servo);
        StoreProperty(*this, SegmentKey(n, "SERVO_SYMMETRICAL").c_str(), segment.servoSymmetrical);
        StoreProperty(*this, SegmentKey(n, "SERVO_REV").c_str(), segment.servoReverse ? 1 : 0);
        StoreProperty(*this, SegmentKey(n, "SERVO_REV_SYMMETRICAL").c_str(), segment.servoReverseSymmetrical ? 1 : 0);
        StoreProperty(*this, SegmentKey(n, "CONTROL_CHORD_FRACTION").c_str(), segment.controlChordFraction);
        StoreProperty(*this, SegmentKey(n, "MAX_DEFLECTION_ANGLE").c_str(), segment.maxDeflection);
        StoreProperty(*this, SegmentKey(n, "INCIDENCE_INC").c_str(), segment.incidenceIncrement);
        StoreProperty(*this, SegmentKey(n, "DOF").c_str(), segment.dof);
        StoreProperty(*this, SegmentKey(n, "DOF_SYMMETRICAL").c_str(), segment.dofSymmetrical);
    }
}
