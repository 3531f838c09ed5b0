#pragma once
// WING3: a tapered, swept wing half of N = 1..4 spanwise segments, optionally mirrored into a
// whole wing (segments N..2N-1 are the mirror images, x negated), each segment with its own
// servo-driven control surface.
//
// Segment i of the half (f = (i + 0.5) / N, its centre as a fraction of the half span):
//   chord = ROOT_CHORD + (TIP_CHORD - ROOT_CHORD) f, span HALF_SPAN / N, area chord * span
//   phi = ROLL_ANGLE + DIHEDRAL, theta = INCIDENCE + SEGn_INCIDENCE_INC, d = f HALF_SPAN
//   P = POSITION + (cos phi d, sin phi d, tan(SWEEP_ANGLE) f HALF_SPAN): leading-edge centre
//   C = (sin theta sin phi, -sin theta cos phi, cos theta): chord, leading to trailing edge
//       (a positive incidence lowers the trailing edge)
//   U = (-cos theta sin phi, cos theta cos phi, sin theta): upper normal; S = U x C: span
// all in body axes. The aspect ratio is HALF_SPAN / mean chord, doubled for a mirrored wing.
//
// Per sub-step and segment:
//   air = wind at P + slipstream at P - velocity of P (world)
//   deflection = servo position * SEGn_MAX_DEFLECTION_ANGLE (rad), negated when the reverse
//   flag is set (SEGn_SERVO_REV defaults to true), also written to the segment's DOF
//   the forces of CalcAirfoilAerodynamicForces with the rows (S, U, C) in world axes, the
//   segment area, the wing's aspect ratio and EFFICIENCY (worked out in body axes)
//   force slot 2i = lift, 2i + 1 = drag, both at P + Cp chord C; the records are in body axes
//   (CForce::bodyAxes, CEngineDynamic::WorldForce).
//
// A wing without its airfoil is not linked and produces no force (reported once per
// ApplyProperties with the model file and the part). A missing servo or DOF is no error.
// Mass: per segment a box, span by 0.2 chord by chord behind the leading edge, of
// DENSITY_KG_PER_SQ_METER / 0.03 kg/m^3 (a 15 cm chord weighs DENSITY_KG_PER_SQ_METER per m^2).

#include <string>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/AirfoilAerodynamics.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_Wing.h"

class CAirfoil;
class CDegreeOfFreedom;
class CPartServo;

class CPartWing3 : public CPartPhysic
{
public:
    static constexpr int kMaxSegments = 2 * CPropertySet_Wing::kMaxSegments;

    // One lifting segment (of either half).
    struct TSegment
    {
        CPartServo* servo = nullptr;       // not owned: a part of the same model
        bool reverse = false;              // deflection negated
        float span = 0.0f;                 // m
        float chord = 0.0f;                // m
        float area = 0.0f;                 // m^2
        float controlChordFraction = 0.0f;
        float maxDeflection = 0.0f;        // deg at servo position 1
        CVector3 point;                    // P, leading-edge centre, body frame, m
        CVector3 chordDirection;           // C, leading to trailing edge, body frame
        CVector3 normal;                   // U, body frame
        CVector3 spanDirection;            // S = U x C, body frame (outwards on the right half)
        CDegreeOfFreedom* dof = nullptr;   // not owned: the model's DOF list
        // Results of the last step.
        float deflection = 0.0f;           // rad
        float alpha = 0.0f;                // rad
        TInducedAngleStart induced;        // the lifting-line solve's last answer
    };

    CPartWing3();
    ~CPartWing3() override;

    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;
    // Two (lift, drag) per segment of the settings, mirrored ones included.
    int GetUsedForceCount() const override;
    // Every segment's outline and the hinge line of its control surface.
    void DrawDebug(IDebugDraw& draw) override;

    CPropertySet_Wing& GetSettings() { return m_set; }
    int GetSegmentCount() const { return m_segmentCount; }
    const TSegment& GetSegment(int index) const { return m_segments[index]; }
    float GetAspectRatio() const { return m_aspectRatio; }
    const CAirfoil* GetAirfoil() const { return m_airfoil; }

private:
    std::string Who() const;
    // The servo part of that name, or null (reported when a name was given but not found).
    CPartServo* FindServo(const std::string& name) const;
    CDegreeOfFreedom* FindDof(const std::string& name) const;
    void BuildMass();

    CPropertySet_Wing m_set;

    const CAirfoil* m_airfoil = nullptr; // owned by CAirfoilList, outlives every part
    float m_meanChord = 0.0f;            // m
    float m_aspectRatio = 0.0f;
    int m_segmentCount = 0;              // N, or 2N when mirrored
    TSegment m_segments[kMaxSegments];
};
