#pragma once
// WING2: one rectangular lifting surface with an optional control surface driven by a variable.
//
// Frame: x forward (towards the leading edge), y the upper-surface normal, z = x cross y along
// the span, in body axes. It comes from DIRECTION and NORMAL when POSITION and DIRECTION are
// both non-zero, else from the Euler angles (HEADING - 90, -ROLL, PITCH): with all three zero
// the surface faces forward along -Z with x = (0, 0, -1).
// Reference points (body frame): A, the middle of the leading edge, and B, the middle of the
// surface, half a chord behind A. POSITION is the left, right or centre leading-edge point
// (POSITION_TYPE LEFT_LE, RIGHT_LE, CENTER_LE).
//
// Per sub-step:
//   air = wind at B + slipstream at B - velocity of B (world)
//   deflection = variable value * CONTROL_SURFACE_MAX_ANGLE (rad), also written to the DOF
//   CalcAirfoilAerodynamicForces with the surface frame (span z, normal y, chord -x) in world
//   axes, area CHORD * SPAN, aspect ratio SPAN / CHORD and span efficiency 0.7
//   lift and drag act at A - Cp * CHORD * x (Cp chords behind the leading edge).
//
// A part without its airfoil, with an unknown POSITION_TYPE or a degenerate frame is not linked
// and produces no force; each reason is reported once per ApplyProperties, naming the model
// file and the part. A missing variable or DOF is no error: no deflection, no animation.
// Its mass is a box, SPAN by 0.2 CHORD by CHORD behind the leading edge, of 37.5 kg/m^3.

#include <string>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_Wing2.h"

class CAirfoil;
class CDegreeOfFreedom;
class CVariable;

class CPartWing2 : public CPartPhysic
{
public:
    static constexpr float kSpanEfficiency = 0.7f;
    static constexpr float kDensity = 37.5f; // kg/m^3 of the mass box (balsa and covering)

    // Force slots of the class table.
    static constexpr int kLiftForce = 0;
    static constexpr int kDragForce = 1;

    // POSITION_TYPE codes; 0 for anything else.
    enum EPositionType
    {
        POSITION_UNKNOWN = 0,
        POSITION_LEFT_LE = 1,
        POSITION_RIGHT_LE = 2,
        POSITION_CENTER_LE = 3,
    };

    CPartWing2();
    ~CPartWing2() override;

    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;
    // The outline of the surface and the hinge line of the control surface.
    void DrawDebug(IDebugDraw& draw) override;

    CPropertySet_Wing2& GetSettings() { return m_set; }
    // Angle of attack of the last step (rad), for the angle-of-attack instrument.
    float GetAngleOfAttack() const { return m_alpha; }
    // Control-surface deflection of the last step (rad).
    float GetDeflection() const { return m_deflection; }
    // Rows x (forward), y (normal), z (span), body frame.
    const CMatrix3& GetFrame() const { return m_frame; }
    const CVector3& GetLeadingEdgeCentre() const { return m_pointA; } // A, body frame, m
    const CVector3& GetSurfaceCentre() const { return m_pointB; }     // B, body frame, m
    const CAirfoil* GetAirfoil() const { return m_airfoil; }
    bool HasControlSurface() const { return m_hasControlSurface; }

private:
    // "<model file>: WING2 '<name>'", the head of every message.
    std::string Who() const;
    // Reports a problem, naming the model file and the part.
    void Report(const std::string& what) const;
    bool BuildFrame();
    void BuildMass();

    CPropertySet_Wing2 m_set;

    const CAirfoil* m_airfoil = nullptr;     // owned by CAirfoilList, outlives every part
    CVariable* m_variable = nullptr;         // not owned: the model's variables
    CDegreeOfFreedom* m_dof = nullptr;       // not owned: the model's DOF list
    float m_area = 0.0f;                     // m^2
    float m_aspectRatio = 0.0f;
    int m_positionType = POSITION_UNKNOWN;
    CMatrix3 m_frame;                        // rows x, y, z in body axes
    CVector3 m_pointA;                       // leading-edge centre, body frame, m
    CVector3 m_pointB;                       // surface centre, body frame, m
    float m_maxDeflection = 0.0f;            // rad at variable value 1
    bool m_hasControlSurface = false;

    // Results of the last step.
    float m_alpha = 0.0f;                    // rad
    float m_deflection = 0.0f;               // rad
};
