#pragma once
// WHEEL3: a wheel with a suspension spring and damper, steering, a spinning wheel driven by a
// torque variable and held by a brake variable, springy tyre deflections along and across the
// rolling direction, and a skid state with static and dynamic friction.
//
// Wheel axes W = (rotation about Y by HEADING + steering) * body orientation; rows: lateral
// (right of the wheel), vertical, and the wheel's +Z axis, which like the body's points
// backwards (rolling forward is a negative "along" speed; a positive drive torque drives the
// model forward).
//
// Per sub-step, with h = hub height above the ground and s = REST_LENGTH - (h - RADIUS):
//   airborne when h > REST_LENGTH + RADIUS: no force, deflections reset, the wheel spins on.
//   spring  SPRINGINESS s along the ground normal; damper -(LIN v + SQ v|v|) clamped to +-5 N
//   traction T = TRACTION_STRINGINESS * along deflection, along the wheel's Z axis
//   spin    w += (roll + drive + T) / INERTIA dt (T enters as a torque, without the radius),
//           roll = -SPIN_DAMPING (w|w| + w), drive = torque value * MAX_TORQUE; then the brake
//           (brake value * MAX_TORQUE) and the rolling resistance (ROLLING_RESISTANCE * load)
//           slow w toward 0 without reversing it
//   along deflection += (w RADIUS + along speed) dt (0 while skidding)
//   lateral L = AXIAL_STRINGINESS * lateral deflection, deflection -= lateral speed dt (the
//           patch grips; 0 while skidding); force -L - |AXIAL_STRINGINESS| 0.1 s * lateral speed
//           along the lateral axis; with CORNERING_STIFFNESS C > 0 the deflection also relaxes
//           over sigma = C N / |AXIAL_STRINGINESS| of rolling (the force settles at C N tan(slip
//           angle)) and the damper fades by (sigma / (sigma + |along speed| 0.1 s))^2
//   skid    the tangential part Ft of spring+damper+traction+lateral against its normal part N:
//           starts above STATIC_FRICTION N, ends below DYNAMIC_FRICTION N; while skidding the
//           "Skid" force cuts the tangential force down to DYNAMIC_FRICTION N.
// All forces act at the hub moved down toward the ground by the hub height (at most
// REST_LENGTH + RADIUS). A wheel missing any of its three variables is not linked and
// produces no force at all.
//
// The DOF named after the part turns with the steering (heading) and the spin (pitch).

#include <limits>

#include "core/CMatrix3.h"
#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_Wheel3.h"
#include "model/ITerrain.h"

class CDegreeOfFreedom;
class CVariable;

class CPartWheel3 : public CPartPhysic
{
public:
    enum EForce
    {
        kSkid = 0,
        kBrake = 1,
        kTraction = 2,
        kLateral = 3,
        kSpring = 4,
        kDrag = 5
    };
    // N: the damper only calms the spring; unbounded, a 2 m/s touchdown with the default 20 N*s/m
    // and 20 N*s^2/m^2 would give 120 N, many times what the spring carries, stopping the hub in
    // one sub-step instead of over the spring's travel.
    static constexpr float kMaxDamperForce = 5.0f;
    static constexpr float kLateralDampingTime = 0.1f; // s: lateral damping per unit stringiness
    static constexpr float kMinInertia = 1e-6f;        // kg*m^2: protects the division
    static constexpr int kColourGripping = 30;
    static constexpr int kColourSkidding = 33;

    CPartWheel3();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void UpdateFrame(float frameTime) override;
    void CalcForces(float dt) override;
    void DrawDebug(IDebugDraw& draw) override;
    const char* GetMarkerNode() const override { return "Wheel.osg"; }
    // The tyre reaches its radius and the spring's rest travel below the point.
    bool GetGroundContact(CVector3& outPoint, float& outReach) const override
    {
        outPoint = m_set.position;
        outReach = m_set.radius + m_set.springRestLength;
        return true;
    }

    CPropertySet_Wheel3& GetSettings() { return m_set; }
    bool IsAirborne() const { return m_airborne; }
    bool IsSkidding() const { return m_skidding; }
    float GetCompression() const { return m_compression; }    // m
    float GetSpin() const { return m_spin; }                  // rad/s
    float GetWheelAngle() const { return m_wheelAngle; }      // rad, 0 .. 2 pi
    float GetSteeringAngle() const { return m_steeringAngle; } // rad
    const CVector3& GetHubVelocity() const { return m_hubVelocity; } // wheel axes, m/s

private:
    std::string Who() const;
    CVariable* FindVariable(const char* key, const std::string& name) const;

    CPropertySet_Wheel3 m_set;

    // Variables of the model's search list (not owned; they live as long as the model).
    CVariable* m_steeringVariable = nullptr;
    CVariable* m_torqueVariable = nullptr;
    CVariable* m_brakeVariable = nullptr;
    CDegreeOfFreedom* m_dof = nullptr; // not owned: the model's DOF list

    bool m_airborne = true;
    bool m_skidding = false;
    float m_compression = 0.0f;      // m
    CMatrix3 m_axes;                 // W, rows lateral, vertical, Z of the wheel, world (on the ground)
    CMatrix3 m_inverseAxes;          // W^-1
    // The turn by heading and steering (body axes) and its angle (rad): it changes only when the
    // steering moves, so its sine and cosine are not taken again every sub-step.
    CMatrix3 m_turn;
    float m_turnAngle = std::numeric_limits<float>::quiet_NaN(); // none yet
    CVector3 m_hubVelocity;          // wheel axes (lateral, vertical, along Z), m/s
    float m_steeringAngle = 0.0f;    // rad
    float m_spin = 0.0f;             // w, rad/s
    float m_wheelAngle = 0.0f;       // rad, 0 .. 2 pi
    float m_alongDeflection = 0.0f;  // m
    float m_lateralDeflection = 0.0f; // m
    float m_lateralRate = 0.0f;      // m/s, rate of the lateral deflection
    float m_rollTorque = 0.0f;       // last, N*m (display)
    float m_driveTorque = 0.0f;      // last, N*m (display)
    TTerrainHint m_hint;             // this wheel's own search hint
};
