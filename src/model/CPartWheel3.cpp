#include "model/CPartWheel3.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "model/CDegreeOfFreedom.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"
#include "model/IDebugDraw.h"
#include "model/ITerrain.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kRadPerDeg = kPi / 180.0f;
constexpr int kOutlineColour = 30;
constexpr int kOutlineSegments = 16;
} // namespace

CPartWheel3::CPartWheel3() : CPartPhysic(PART_WHEEL3) {}

std::string CPartWheel3::Who() const
{
    return (m_model != nullptr ? m_model->GetFileName() : std::string("?")) + ": WHEEL3 '" + GetName() + "'";
}

bool CPartWheel3::AttachToModel(CModel& model)
{
    m_hint = TTerrainHint();
    return CPartPhysic::AttachToModel(model);
}

CVariable* CPartWheel3::FindVariable(const char* key, const std::string& name) const
{
    CVariable* variable = m_model->GetVariableSearchList().Find(name);
    if (variable == nullptr)
        DiagPrint("%s: %s '%s' is no variable of the model; the wheel produces no force\n", Who().c_str(), key,
                  name.c_str());
    return variable;
}

bool CPartWheel3::ApplyProperties()
{
    m_steeringVariable = m_torqueVariable = m_brakeVariable = nullptr;
    m_dof = nullptr;
    if (m_model != nullptr)
    {
        m_steeringVariable = FindVariable("STEERING_VARIABLE", m_set.steeringVariable);
        m_torqueVariable = FindVariable("VARIABLE_TORQUE", m_set.torqueVariable);
        m_brakeVariable = FindVariable("VARIABLE_BRAKE", m_set.brakeVariable);
        m_dof = m_model->GetDegreesOfFreedom().Get(GetName());
    }
    m_linked = m_steeringVariable != nullptr && m_torqueVariable != nullptr && m_brakeVariable != nullptr;
    for (CForce& force : m_forces)
    {
        force.vector = CVector3();
        force.point = m_set.position;
    }
    return m_linked;
}

void CPartWheel3::UpdateFrame(float)
{
    if (m_dof != nullptr)
        m_dof->SetRotation(CVector3(m_steeringAngle, m_wheelAngle, 0.0f));
}

void CPartWheel3::CalcForces(float dt)
{
    for (CForce& force : m_forces)
        force.vector = CVector3();
    if (!m_linked || m_model == nullptr)
        return;
    CEngineDynamic& body = m_model->GetBody();
    const CPropertySet_Wheel3& s = m_set;

    // 1., 2. Height and compression.
    const CVector3 hub = body.BodyToWorldPoint(s.position);
    CVector3 normal;
    // Above the highest ground it could stand on, the wheel is in the air whatever the ground
    // answers (hub.y - ground >= hub.y - ceiling): the query, most of an airborne wheel's cost,
    // is not needed. Its hint stays where it was.
    const ITerrain& terrain = m_model->GetTerrain();
    const float reach = s.springRestLength + s.radius;
    const float height = hub.y - terrain.GetGroundCeiling(hub.x, hub.z) > reach
                             ? INFINITY
                             : hub.y - terrain.GetTerrainHeight(hub.x, hub.z, m_hint, normal);
    m_airborne = !(height <= reach);
    m_compression = m_airborne ? 0.0f : s.springRestLength - (height - s.radius);

    // 3. Wheel axes.
    m_steeringAngle = m_steeringVariable->GetValue() * s.maxSteeringAngle * kRadPerDeg;
    const float a = s.heading * kRadPerDeg + m_steeringAngle;
    if (a != m_turnAngle)
    {
        m_turn = CMatrix3::FromRows(CVector3(std::cos(a), 0.0f, std::sin(a)), CVector3(0.0f, 1.0f, 0.0f),
                                    CVector3(-std::sin(a), 0.0f, std::cos(a)));
        m_turnAngle = a;
    }
    // 4. Hub velocity in wheel axes. In the air only it needs them (the wheel instrument shows
    // it): the body's axes and the turn give it without the world axes of the wheel.
    const CVector3 pointVelocity = body.GetPointVelocity(s.position);
    if (m_airborne)
    {
        const CVector3 v = body.WorldToBodyVector(pointVelocity);
        m_hubVelocity = CVector3(m_turn.row[0].Dot(v), m_turn.row[1].Dot(v), m_turn.row[2].Dot(v));
    }
    else
    {
        m_axes = m_turn * body.GetOrientation();
        m_inverseAxes = m_axes.Transposed(); // both factors are rotations
        m_hubVelocity = pointVelocity * m_inverseAxes;
    }

    // 5., 6. Spring and damper.
    CVector3 spring, traction, lateral;
    if (!m_airborne)
    {
        const float v = m_hubVelocity.y;
        const float damper =
            std::clamp(-(s.dampingLin * v + s.dampingSq * v * std::fabs(v)), -kMaxDamperForce, kMaxDamperForce);
        spring = normal * (s.springiness * m_compression + damper);
    }

    // 7. Traction from the along deflection.
    if (m_airborne)
        m_alongDeflection = 0.0f;
    const float tractionForce = s.tractionStringiness * m_alongDeflection;
    if (!m_airborne)
        traction = m_axes.row[2] * tractionForce;

    // 8. Spin; the brake holds the wheel without ever turning it backwards.
    const float inertia = std::max(s.inertia, kMinInertia);
    m_driveTorque = m_torqueVariable->GetValue() * s.maxTorque;
    m_rollTorque = -s.spinDamping * (m_spin * std::fabs(m_spin) + m_spin);
    m_spin += (m_rollTorque + m_driveTorque + tractionForce) / inertia * dt;
    // Rolling resistance acts like the brake, as a drag of Crr * load at the tread (the spin
    // equation takes forces there as they are: the traction above enters it without the radius);
    // like the brake it stops a slow wheel without turning it back, so a parked model stays put
    // until pushed harder than that.
    const float rolling = std::max(s.rollingResistance, 0.0f) * spring.Length();
    const float brake =
        std::clamp(m_brakeVariable->GetValue(), 0.0f, 1.0f) * std::fabs(s.maxTorque) + (std::isfinite(rolling) ? rolling : 0.0f);
    const float brakeStep = brake / inertia * dt;
    m_spin = m_spin > 0.0f ? std::max(m_spin - brakeStep, 0.0f) : std::min(m_spin + brakeStep, 0.0f);
    if (!std::isfinite(m_spin))
        m_spin = 0.0f;

    // 9. Along deflection.
    m_alongDeflection = m_skidding ? 0.0f : m_alongDeflection + (m_spin * s.radius + m_hubVelocity.z) * dt;

    // 10. Wheel angle.
    m_wheelAngle += m_spin * dt;
    if (!(m_wheelAngle >= 0.0f && m_wheelAngle < kTwoPi)) // fmod would return it unchanged
        m_wheelAngle = std::fmod(m_wheelAngle, kTwoPi);
    if (m_wheelAngle < 0.0f)
        m_wheelAngle += kTwoPi;
    if (!(m_wheelAngle >= 0.0f && m_wheelAngle < kTwoPi))
        m_wheelAngle = 0.0f;

    // 11. Lateral deflection.
    if (m_airborne)
    {
        m_lateralDeflection = 0.0f;
        m_lateralRate = 0.0f;
    }
    else
    {
        // The tyre patch grips the ground: the deflection follows the hub's sideways travel, and
        // a damper of stringiness times kLateralDampingTime takes the energy out of that
        // spring. (A free-moving patch, rate += 10 L dt, deflection += (rate - speed) dt, has
        // no steady side force at all: the wheel could neither hold a turn nor stop sliding.)
        // While skidding the patch slides with the hub, as the along deflection does: a deflection
        // kept growing would pull the wheel back to where the skid began once it grips again.
        const float l = s.axialStringiness * m_lateralDeflection;
        float damping = std::fabs(s.axialStringiness) * kLateralDampingTime * m_hubVelocity.x;
        m_lateralRate = -m_hubVelocity.x;
        float relax = 1.0f;
        if (s.corneringStiffness > 0.0f)
        {
            // A rolling tyre's patch relaxes over sigma = C N / stringiness of travel, which leaves
            // the spring at the side force C N tan(slip angle) of a tyre with cornering stiffness C
            // per newton of load. The damper only calms the patch at rest; rolling, the relaxation
            // takes the energy out, and a damper kept on would add a second, speed-blind side force.
            const float stringiness = std::fabs(s.axialStringiness);
            const float sigma = stringiness > 0.0f ? s.corneringStiffness * spring.Length() / stringiness : 0.0f;
            const float along = std::fabs(m_hubVelocity.z);
            const float rolled = sigma + along * dt;
            relax = rolled > 0.0f ? sigma / rolled : 1.0f;
            const float calm = sigma + along * kLateralDampingTime;
            const float fade = calm > 0.0f ? sigma / calm : 1.0f;
            damping *= std::isfinite(fade) ? fade * fade : 1.0f;
            if (!std::isfinite(relax))
                relax = 1.0f;
        }
        m_lateralDeflection = m_skidding ? 0.0f : (m_lateralDeflection + m_lateralRate * dt) * relax;
        lateral = m_axes.row[0] * (-l - damping);
    }

    // 12. Skid state.
    CVector3 skid;
    if (m_airborne)
        m_skidding = false;
    else
    {
        const CVector3 sum = (spring + traction + lateral) * m_inverseAxes;
        const float n = std::fabs(sum.y);
        const float tangential = std::sqrt(sum.x * sum.x + sum.z * sum.z);
        if (!m_skidding && tangential > s.staticFriction * n)
            m_skidding = true;
        else if (m_skidding && tangential < s.dynamicFriction * n)
            m_skidding = false;
        if (m_skidding && tangential > 0.0f)
        {
            // Cut the tangential force down to sliding friction, keeping its direction.
            const float factor = s.dynamicFriction * n / tangential - 1.0f;
            skid = CVector3(sum.x * factor, 0.0f, sum.z * factor) * m_axes;
        }
    }

    // 13. Records.
    if (m_airborne)
        return;
    const float drop = std::clamp(height, 0.0f, s.springRestLength + s.radius);
    const CVector3 point = s.position - CVector3(0.0f, drop, 0.0f);
    for (CForce& force : m_forces)
        force.point = point;
    m_forces[kSpring].vector = spring;
    m_forces[kTraction].vector = traction;
    m_forces[kLateral].vector = lateral;
    m_forces[kLateral].colour = m_skidding ? kColourSkidding : kColourGripping;
    m_forces[kSkid].vector = skid;
}

void CPartWheel3::DrawDebug(IDebugDraw& draw)
{
    if (m_model == nullptr)
        return;
    CEngineDynamic& body = m_model->GetBody();
    // The wheel's circle in its plane (body frame: turned by heading and steering).
    const float a = m_set.heading * kRadPerDeg + m_steeringAngle;
    const CVector3 along(-std::sin(a), 0.0f, std::cos(a));
    const CVector3 up(0.0f, 1.0f, 0.0f);
    CVector3 previous;
    for (int i = 0; i <= kOutlineSegments; ++i)
    {
        const float t = kTwoPi * static_cast<float>(i) / kOutlineSegments;
        const CVector3 point =
            body.BodyToWorldPoint(m_set.position + (along * std::cos(t) + up * std::sin(t)) * m_set.radius);
        if (i > 0)
            draw.Line(previous, point, kOutlineColour);
        previous = point;
    }
}
