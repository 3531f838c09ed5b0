#pragma once
// The keys of a WING3 block: a tapered, swept wing half of 1 to 4 spanwise segments, optionally
// mirrored into a whole wing, each segment with its own servo-driven control surface. Segment n
// has the keys SEGn_SERVO, SEGn_SERVO_SYMMETRICAL, ... (n = 0..3).

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_Wing : public CPartPropertySet
{
public:
    static constexpr int kMaxSegments = 4; // per half

    // The keys of one segment.
    struct TSegment
    {
        std::string servo;                  // SEGn_SERVO, a SERVO part
        std::string servoSymmetrical;       // SEGn_SERVO_SYMMETRICAL, servo of the mirrored segment
        bool servoReverse = true;           // SEGn_SERVO_REV
        bool servoReverseSymmetrical = false; // SEGn_SERVO_REV_SYMMETRICAL
        float controlChordFraction = 0.15f; // SEGn_CONTROL_CHORD_FRACTION
        float maxDeflection = 20.0f;        // SEGn_MAX_DEFLECTION_ANGLE, deg at servo value 1
        float incidenceIncrement = 0.8f;    // SEGn_INCIDENCE_INC, deg added to INCIDENCE
        std::string dof;                    // SEGn_DOF
        std::string dofSymmetrical;         // SEGn_DOF_SYMMETRICAL
    };

    CPropertySet_Wing();
    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;       // DESCRIPTION
    std::string airfoil;           // AIRFOIL, file in Data/Airfoil/
    bool symmetrical = true;       // SYMMETRICAL: add the mirror image (x negated) of every segment
    float halfSpan = 0.7f;         // HALF_SPAN, m
    float rootChord = 0.15f;       // ROOT_CHORD, m
    float tipChord = 0.1f;         // TIP_CHORD, m
    float efficiency = 0.7f;       // EFFICIENCY, span efficiency e
    float incidence = 0.0f;        // INCIDENCE, deg
    float sweepAngle = 0.0f;       // SWEEP_ANGLE, deg, of the leading edge (positive: swept back)
    float dihedral = 6.0f;         // DIHEDRAL, deg
    CVector3 position;             // POSITION, root leading edge, body frame, m
    float rollAngle = 0.0f;        // ROLL_ANGLE, deg, added to the dihedral
    int segmentCount = 2;          // NUMBER_OF_SEGMENTS per half, 1..kMaxSegments
    float density = 1.6f;          // DENSITY_KG_PER_SQ_METER, kg/m^2 of wing area
    float controlMaxLift = 0.4f;   // CONTROL_MAX_LIFT, dCl of each control surface at 20 deg, chord 0.3
    float downwash = 0.0f;         // DOWNWASH, d(epsilon)/d(alpha): a tail's flow turned by the wing ahead
    bool liftingLine = false;      // LIFTING_LINE: the section's lift at the angle of attack less the induced angle
    TSegment segments[kMaxSegments];
};
