#include "model/CEngineDynamic.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Diagnostics.h"
#include "model/CForce.h"
#include "model/IDebugDraw.h"

namespace
{
// Whether any component is beyond the runaway limit or not a number at all. Three plain
// comparisons instead of nested fmax calls, which the compiler cannot inline under strict IEEE
// rules and which cost a library call per record and sub-step; written so that a NaN component,
// which compares false with everything, counts as a runaway too.
inline bool IsRunaway(const CVector3& v, float limit)
{
    return !(std::fabs(v.x) <= limit && std::fabs(v.y) <= limit && std::fabs(v.z) <= limit);
}

// +0 or -0 in every component.
inline bool IsZeroBits(const CVector3& v)
{
    uint32_t x, y, z;
    std::memcpy(&x, &v.x, sizeof x);
    std::memcpy(&y, &v.y, sizeof y);
    std::memcpy(&z, &v.z, sizeof z);
    return ((x | y | z) & 0x7fffffffu) == 0;
}

inline bool IsFinite(const CVector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
} // namespace

CEngineDynamic::CEngineDynamic()
{
    ResetBody();
}

void CEngineDynamic::ResetBody()
{
    m_state = CBodyState();
    m_mass = 0.0f;
    m_centreOfMass = CVector3();
    m_inertia = CMatrix3::Identity();
    m_inverseInertia = CMatrix3::Identity();
    ClearRecords();
    m_totalForce = m_totalTorque = m_acceleration = m_angularAcceleration = CVector3();
    m_lastSubSteps = 0;
    m_lastSubStepLength = 0.0f;
    m_subStep = nullptr;
    m_subStepContext = nullptr;
    m_forceSum = nullptr;
    m_forceSumContext = nullptr;
    m_terrainHint = TTerrainHint();
    m_framesToOrthonormalize = 0;
    InvalidateCaches();
}

void CEngineDynamic::SetMassProperties(const CMatrix3& inertia, float mass, const CVector3& centreOfMass)
{
    m_inertia = inertia;
    m_mass = mass;
    m_centreOfMass = centreOfMass;
    m_inverseInertia = inertia.Inverse();
}

bool CEngineDynamic::AddForce(CForce* force)
{
    if (force == nullptr)
        return false;
    if (m_forceCount >= kMaxForces)
    {
        DiagPrint("CEngineDynamic: force record '%s' refused, the body holds at most %i\n", force->name.c_str(),
                  kMaxForces);
        return false;
    }
    m_forces[m_forceCount++] = force;
    return true;
}

bool CEngineDynamic::AddTorque(CTorque* torque)
{
    if (torque == nullptr)
        return false;
    if (m_torqueCount >= kMaxTorques)
    {
        DiagPrint("CEngineDynamic: torque record '%s' refused, the body holds at most %i\n", torque->name.c_str(),
                  kMaxTorques);
        return false;
    }
    m_torques[m_torqueCount++] = torque;
    return true;
}

void CEngineDynamic::ClearRecords()
{
    for (CForce*& force : m_forces)
        force = nullptr;
    m_forceCount = 0;
    for (CTorque*& torque : m_torques)
        torque = nullptr;
    m_torqueCount = 0;
}

CForce* CEngineDynamic::GetForce(int index) const
{
    return index >= 0 && index < m_forceCount ? m_forces[index] : nullptr;
}

CTorque* CEngineDynamic::GetTorque(int index) const
{
    return index >= 0 && index < m_torqueCount ? m_torques[index] : nullptr;
}

void CEngineDynamic::SetForceDisplayScale(float scale)
{
    for (int i = 0; i < m_forceCount; ++i)
        m_forces[i]->displayScale = scale;
    for (int i = 0; i < m_torqueCount; ++i)
        m_torques[i]->displayScale = scale;
}

void CEngineDynamic::SetSubStepCallback(TSubStepFn callback, void* context)
{
    m_subStep = callback;
    m_subStepContext = context;
}

void CEngineDynamic::SetForceSumCallback(TForceSumFn callback, void* context)
{
    m_forceSum = callback;
    m_forceSumContext = context;
}

void CEngineDynamic::Update(float frameTime)
{
    // A zero frame (pause step) is a real sub-step of length 0; a negative or NaN one is not
    // time at all.
    if (!(frameTime > 0.0f))
        frameTime = 0.0f;
    int steps = 1;
    float h = frameTime;
    if (m_maxStep > 0.0f && frameTime > m_maxStep)
    {
        steps = static_cast<int>(frameTime / m_maxStep) + 1;
        h = frameTime / static_cast<float>(steps);
    }
    m_lastSubSteps = steps;
    m_lastSubStepLength = h;

    for (int step = 0; step < steps; ++step)
    {
        if (m_subStep != nullptr)
            m_subStep(m_subStepContext, h);
        SumForces();
        if (m_forceSum != nullptr)
            m_forceSum(m_forceSumContext, m_totalForce, m_totalTorque);
        Integrate(h);
    }
    InvalidateCaches();

    // Single-precision rotation increments slowly shear M; a fresh orthonormal frame now and
    // then keeps the body rigid.
    if (m_framesToOrthonormalize <= 0)
    {
        m_state.orientation.Orthonormalize();
        MarkOrientationChanged();
        m_framesToOrthonormalize = kOrthonormalizeFrames;
    }
    --m_framesToOrthonormalize;
}

void CEngineDynamic::SumForces()
{
    m_totalForce = CVector3();
    m_totalTorque = CVector3();
    const CMatrix3& inverse = GetInverseOrientation();
    CVector3 bodyTorque;
    CVector3 bodyAxesForce; // the records kept in body axes, turned to world axes once
    for (int i = 0; i < m_forceCount; ++i)
    {
        const CForce& record = *m_forces[i];
        // Most records are zero in flight (collision points and wheels in the air); adding
        // them changes no sum. A zero is no runaway either, so it is told first, from the bits.
        if (IsZeroBits(record.vector))
            continue;
        if (IsRunaway(record.vector, kRunawayForce))
        {
            StopRunaway("force", record.name, record.vector);
            return;
        }
        CVector3 bodyForce = record.vector;
        if (record.bodyAxes)
            bodyAxesForce += bodyForce;
        else
        {
            m_totalForce += record.vector;
            bodyForce = record.vector * inverse;
        }
        bodyTorque += (record.point - m_centreOfMass).Cross(bodyForce);
    }
    m_totalForce += bodyAxesForce * m_state.orientation;
    m_totalTorque = bodyTorque * m_state.orientation;
    for (int i = 0; i < m_torqueCount; ++i)
        m_totalTorque += m_torques[i]->vector;

    // A NaN or infinite torque, or a force applied at a point out of all proportion, would make
    // the state NaN for good: the model could only be reset. It is treated as a runaway.
    if (!IsFinite(m_totalForce) || !IsFinite(m_totalTorque))
    {
        for (int i = 0; i < m_torqueCount; ++i)
            if (!IsFinite(m_torques[i]->vector))
            {
                StopRunaway("torque", m_torques[i]->name, m_torques[i]->vector);
                return;
            }
        for (int i = 0; i < m_forceCount; ++i)
            if (!IsFinite(m_forces[i]->point) || !IsFinite((m_forces[i]->point - m_centreOfMass).Cross(m_forces[i]->vector)))
            {
                StopRunaway("force", m_forces[i]->name, m_forces[i]->vector);
                return;
            }
        StopRunaway("torque", "sum", m_totalTorque);
        return;
    }
    // Report the next runaway again once the forces were sane for a sub-step.
    m_runawayReported = false;
}

void CEngineDynamic::StopRunaway(const char* kind, const std::string& name, const CVector3& value)
{
    if (!m_runawayReported)
        DiagPrint("CEngineDynamic: runaway %s '%s' (%g, %g, %g), body stopped\n", kind, name.c_str(),
                  static_cast<double>(value.x), static_cast<double>(value.y), static_cast<double>(value.z));
    m_runawayReported = true;
    m_state.velocity = CVector3();
    m_state.angularVelocity = CVector3();
    // Every record, not only the runaway one: the whole sub-step is force-free.
    for (int k = 0; k < m_forceCount; ++k)
        m_forces[k]->vector = CVector3();
    for (int k = 0; k < m_torqueCount; ++k)
        m_torques[k]->vector = CVector3();
    m_totalForce = CVector3();
    m_totalTorque = CVector3();
}

void CEngineDynamic::Integrate(float h)
{
    // A body without mass has no defined acceleration; the model never hands one over (it adds
    // a 1 kg cube), but a bare body must not produce NaN either.
    m_acceleration = m_mass > 0.0f ? m_totalForce / m_mass : CVector3();
    m_state.velocity += m_acceleration * h;
    m_state.position += m_state.velocity * h;

    const CMatrix3& inverse = GetInverseOrientation();
    const CVector3 bodyTorque = m_totalTorque * inverse;
    const CVector3 bodyAlpha = bodyTorque * m_inverseInertia;
    m_angularAcceleration = bodyAlpha * m_state.orientation;
    m_state.angularVelocity += m_angularAcceleration * h;

    const CVector3 rotation = m_state.angularVelocity * h;
    if (rotation.Length() > 1e-8f)
    {
        m_state.orientation = m_state.orientation * CMatrix3::FromRotationVector(rotation);
        MarkOrientationChanged();
    }
}

void CEngineDynamic::MarkOrientationChanged()
{
    m_state.inverseDirty = true;
    m_state.displayDirty = true;
}

void CEngineDynamic::InvalidateCaches()
{
    m_heading = m_pitch = m_roll = kNotComputed;
    m_terrainHeight = kNotComputed;
    m_heightAboveTerrain = kNotComputed;
}

void CEngineDynamic::SetPosition(const CVector3& position)
{
    m_state.position = position;
    InvalidateCaches();
}

void CEngineDynamic::SetOrientation(const CMatrix3& orientation)
{
    m_state.orientation = orientation;
    MarkOrientationChanged();
    InvalidateCaches();
}

void CEngineDynamic::SetState(const CBodyState& state)
{
    m_state = state;
    // The derived matrices are recomputed rather than trusted: a restored block may come from
    // a recording.
    MarkOrientationChanged();
    InvalidateCaches();
}

CVector3 CEngineDynamic::WorldToBodyPoint(const CVector3& worldPoint)
{
    return (worldPoint - m_state.position) * GetInverseOrientation();
}

void CEngineDynamic::ComputeAttitude()
{
    const CMatrix3& m = m_state.orientation;
    const CVector3 nose = -m.row[2]; // body -Z in world axes
    m_heading = std::atan2(nose.x, -nose.z);
    m_pitch = std::asin(std::fmax(-1.0f, std::fmin(1.0f, nose.y)));
    // Right wing (body +X) below the horizon is a positive roll.
    m_roll = std::atan2(-m.row[0].y, m.row[1].y);
}

float CEngineDynamic::GetHeading()
{
    if (m_heading == kNotComputed)
        ComputeAttitude();
    return m_heading;
}

float CEngineDynamic::GetPitch()
{
    if (m_pitch == kNotComputed)
        ComputeAttitude();
    return m_pitch;
}

float CEngineDynamic::GetRoll()
{
    if (m_roll == kNotComputed)
        ComputeAttitude();
    return m_roll;
}

void CEngineDynamic::ComputeTerrainHeight()
{
    if (m_terrain != nullptr)
        m_terrainHeight = m_terrain->GetTerrainHeight(m_state.position.x, m_state.position.z, m_terrainHint,
                                                      m_terrainNormal);
    else
    {
        m_terrainHeight = 0.0f;
        m_terrainNormal = CVector3(0.0f, 1.0f, 0.0f);
    }
}

void CEngineDynamic::DrawForces(IDebugDraw& draw)
{
    for (int i = 0; i < m_forceCount; ++i)
    {
        const CForce& force = *m_forces[i];
        const CVector3 from = BodyToWorldPoint(force.point);
        draw.Line(from, from + WorldForce(force) * force.displayScale, force.colour);
    }
    for (int i = 0; i < m_torqueCount; ++i)
    {
        const CTorque& torque = *m_torques[i];
        draw.Line(m_state.position, m_state.position + torque.vector, torque.colour);
    }
}

namespace
{
std::string PaddedName(const std::string& name)
{
    return StringPrintf("%-12.12s", name.c_str());
}
} // namespace

void CEngineDynamic::AppendForceLine(const CForce& force, std::string& ioText, const CEngineDynamic* body)
{
    const CVector3 v = body ? body->WorldForce(force) : force.vector;
    const CVector3& p = force.point;
    ioText += PaddedName(force.name);
    ioText += StringPrintf("Dir: [% 8.3f] (% 8.3f, % 8.3f, % 8.3f)  Pos:(% 8.3f, % 8.3f, % 8.3f)", v.Length(), v.x,
                           v.y, v.z, p.x, p.y, p.z);
}

void CEngineDynamic::AppendTorqueLine(const CTorque& torque, std::string& ioText)
{
    const CVector3& v = torque.vector;
    ioText += PaddedName(torque.name);
    ioText += StringPrintf("Torque:(% 8.3f)<% 8.3f, % 8.3f, % 8.3f>", v.Length(), v.x, v.y, v.z);
}

void CEngineDynamic::GetDebugText(std::string& ioText)
{
    const CMatrix3& I = m_inertia;
    const CMatrix3& M = m_state.orientation;
    const CVector3& c = m_centreOfMass;
    const CVector3& x = m_state.position;
    const CVector3& f = m_totalForce;
    const CVector3& a = m_acceleration;
    const CVector3& v = m_state.velocity;
    const CVector3& t = m_totalTorque;
    const CVector3& al = m_angularAcceleration;
    const CVector3& w = m_state.angularVelocity;
    ioText += StringPrintf("Dynamics:\nMass         (% 6.3f) Kg\nCenter Mass  (% 6.3f, % 6.3f, % 6.3f)\n", m_mass, c.x,
                           c.y, c.z);
    ioText += StringPrintf("Inertia      (% 6.3f, % 6.3f, % 6.3f)\n             (% 6.3f, % 6.3f, % 6.3f)\n"
                           "             (% 6.3f, % 6.3f, % 6.3f)\n\n",
                           I[0], I[1], I[2], I[3], I[4], I[5], I[6], I[7], I[8]);
    ioText += StringPrintf("Pos          (% 6.3f, % 6.3f, % 6.3f)\n", x.x, x.y, x.z);
    ioText += StringPrintf("Sys          (% 6.3f, % 6.3f, % 6.3f)\n             (% 6.3f, % 6.3f, % 6.3f)\n"
                           "             (% 6.3f, % 6.3f, % 6.3f)\n\n",
                           M[0], M[1], M[2], M[3], M[4], M[5], M[6], M[7], M[8]);
    ioText += StringPrintf("Force Sum    [% 6.3f N]     (% 6.3f, % 6.3f, % 6.3f)\n", f.Length(), f.x, f.y, f.z);
    ioText += StringPrintf("Accel        [% 6.3f m/s/s] (% 6.3f, % 6.3f, % 6.3f)\n", a.Length(), a.x, a.y, a.z);
    ioText += StringPrintf("Accel        [% 6.3f G]\n", a.Length() * 0.10193679f);
    ioText += StringPrintf("Velocity     [% 6.3f m/s]   (% 6.3f, % 6.3f, % 6.3f)\n", v.Length(), v.x, v.y, v.z);
    ioText += StringPrintf("Velocity     [% 6.3f Km/h]\n\n", v.Length() * 3.6f);
    ioText += StringPrintf("Torque Sum   [% 6.3f] (% 6.3f, % 6.3f, % 6.3f)\n", t.Length(), t.x, t.y, t.z);
    ioText += StringPrintf("Ang Accel    [% 6.3f] (% 6.3f, % 6.3f, % 6.3f)\n", al.Length(), al.x, al.y, al.z);
    ioText += StringPrintf("Ang Velocity [% 6.3f] (% 6.3f, % 6.3f, % 6.3f)\n", w.Length(), w.x, w.y, w.z);
}
