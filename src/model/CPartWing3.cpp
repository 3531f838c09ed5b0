#include "model/CPartWing3.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "core/FastAtan2.h"
#include "model/AirfoilAerodynamics.h"
#include "model/CAirfoil.h"
#include "model/CAirfoilList.h"
#include "model/CDegreeOfFreedom.h"
#include "model/CDegreeOfFreedomList.h"
#include "model/CModel.h"
#include "model/CPartServo.h"
#include "model/IDebugDraw.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kRadPerDeg = 0.017453292f;
// Volume density per areal density: the mass box is 0.2 chord thick, so a segment weighs
// DENSITY_KG_PER_SQ_METER * area * chord / 0.15 (the areal density holds at a 15 cm chord).
constexpr float kDensityPerArealDensity = 33.333336f; // 1/m
// The wing ahead stops turning the flow down once it stalls: the downwash follows the body's
// angle of attack only up to this (rad, 15 deg).
constexpr float kMaxDownwashAlpha = 0.2617994f;
constexpr int kOutlineColour = 30;
constexpr int kHingeColour = 27;
} // namespace

CPartWing3::CPartWing3() : CPartPhysic(PART_WING3)
{
    for (CForce& force : m_forces)
        force.bodyAxes = true;
}

CPartWing3::~CPartWing3() = default;

std::string CPartWing3::Who() const
{
    return StringPrintf("%s: WING3 '%s'", m_model ? m_model->GetFileName().c_str() : "(no model)",
                        GetName().c_str());
}

CPartServo* CPartWing3::FindServo(const std::string& name) const
{
    if (name.empty() || !m_model)
        return nullptr;
    CPartServo* servo = dynamic_cast<CPartServo*>(m_model->FindPart(PART_SERVO, name));
    if (!servo)
        DiagPrint("%s: servo '%s' not found; its control surface stays neutral\n", Who().c_str(), name.c_str());
    return servo;
}

CDegreeOfFreedom* CPartWing3::FindDof(const std::string& name) const
{
    if (name.empty() || !m_model)
        return nullptr;
    return m_model->GetDegreesOfFreedom().Get(name);
}

bool CPartWing3::ApplyProperties()
{
    m_airfoil = Airfoils().GetForPart(m_set.airfoil, Who());
    bool valid = m_airfoil != nullptr;

    const int halfCount = m_set.segmentCount; // clamped to 1..4 when read
    m_meanChord = (m_set.rootChord + m_set.tipChord) * 0.5f;
    m_aspectRatio = m_meanChord > 0.0f ? m_set.halfSpan / m_meanChord : 0.0f;
    if (m_set.symmetrical)
        m_aspectRatio *= 2.0f;
    m_segmentCount = m_set.symmetrical ? 2 * halfCount : halfCount;
    if (!(m_set.halfSpan > 0.0f) || m_set.rootChord < 0.0f || m_set.tipChord < 0.0f || !(m_meanChord > 0.0f))
    {
        DiagPrint("%s: HALF_SPAN %g, ROOT_CHORD %g and TIP_CHORD %g must be positive; the part produces no force\n",
                  Who().c_str(), m_set.halfSpan, m_set.rootChord, m_set.tipChord);
        valid = false;
    }

    const float phi = (m_set.rollAngle + m_set.dihedral) * kRadPerDeg;
    const float sweepTan = std::tan(m_set.sweepAngle * kRadPerDeg);
    for (int i = 0; i < halfCount; ++i)
    {
        const CPropertySet_Wing::TSegment& keys = m_set.segments[i];
        TSegment& segment = m_segments[i];
        segment = TSegment();
        const float f = (i + 0.5f) / static_cast<float>(halfCount);
        const float d = f * m_set.halfSpan;
        const float theta = (keys.incidenceIncrement + m_set.incidence) * kRadPerDeg;
        segment.span = m_set.halfSpan / static_cast<float>(halfCount);
        segment.chord = m_set.rootChord + (m_set.tipChord - m_set.rootChord) * f;
        segment.area = segment.chord * segment.span;
        segment.controlChordFraction = keys.controlChordFraction;
        segment.maxDeflection = keys.maxDeflection;
        segment.point = CVector3(std::cos(phi) * d, std::sin(phi) * d, sweepTan * m_set.halfSpan * f) + m_set.position;
        segment.chordDirection =
            CVector3(std::sin(theta) * std::sin(phi), -std::sin(theta) * std::cos(phi), std::cos(theta)).Normalized();
        segment.normal =
            CVector3(-std::cos(theta) * std::sin(phi), std::cos(theta) * std::cos(phi), std::sin(theta)).Normalized();
        segment.spanDirection = segment.normal.Cross(segment.chordDirection).Normalized();
        segment.servo = FindServo(keys.servo);
        segment.reverse = keys.servoReverse;
        segment.dof = FindDof(keys.dof);
    }
    if (m_set.symmetrical)
    {
        for (int i = 0; i < halfCount; ++i)
        {
            const CPropertySet_Wing::TSegment& keys = m_set.segments[i];
            TSegment& mirrored = m_segments[halfCount + i];
            mirrored = m_segments[i];
            mirrored.point.x = -mirrored.point.x;
            mirrored.chordDirection.x = -mirrored.chordDirection.x;
            mirrored.normal.x = -mirrored.normal.x;
            mirrored.spanDirection.x = -mirrored.spanDirection.x;
            mirrored.servo = FindServo(keys.servoSymmetrical);
            mirrored.reverse = keys.servoReverseSymmetrical;
            mirrored.dof = FindDof(keys.dofSymmetrical);
        }
    }
    for (int i = m_segmentCount; i < kMaxSegments; ++i)
        m_segments[i] = TSegment();

    BuildMass();
    ZeroForces();
    if (m_model)
    {
        m_model->SetMassMustBeRecomputed();
        // A changed segment count or mirror flag changes which records carry forces.
        if (GetUsedForceCount() != GetRegisteredForceCount())
            m_model->SetRecordsMustBeRegistered();
    }
    m_linked = valid;
    return valid;
}

int CPartWing3::GetUsedForceCount() const
{
    const int halfCount = std::clamp(m_set.segmentCount, 1, CPropertySet_Wing::kMaxSegments);
    return 2 * (m_set.symmetrical ? 2 * halfCount : halfCount);
}

void CPartWing3::BuildMass()
{
    m_massElement.Reset();
    const float density = m_set.density * kDensityPerArealDensity;
    for (int i = 0; i < m_segmentCount; ++i)
    {
        const TSegment& segment = m_segments[i];
        if (!(segment.chord > 0.0f) || !(segment.span > 0.0f))
            continue;
        // Segment frame coordinates (rows S, U, C): span centred on P, thickness centred on the
        // chord line, chord from the leading edge back.
        const CMatrix3 frame = CMatrix3::FromRows(segment.spanDirection, segment.normal, segment.chordDirection);
        const CVector3 corner1(-0.5f * segment.span, -0.1f * segment.chord, 0.0f);
        const CVector3 corner2(0.5f * segment.span, 0.1f * segment.chord, segment.chord);
        m_massElement.AddBox(density, corner1, corner2, segment.point, frame);
    }
}

void CPartWing3::CalcForces(float)
{
    if (!m_linked || !m_model)
    {
        ZeroForces();
        return;
    }
    CEngineDynamic& body = m_model->GetBody();
    // Downwash of the wing ahead: the flow at a tail is turned down by DOWNWASH times the body's
    // angle of attack (air at the centre of mass, body axes: forward -Z, up +Y).
    float downwashCos = 1.0f, downwashSin = 0.0f;
    if (m_set.downwash > 0.0f)
    {
        const CVector3 centre = body.BodyToWorldPoint(body.GetCentreOfMass());
        const CVector3 bodyAir =
            body.WorldToBodyVector(m_model->GetWindField().GetWind(centre) - body.GetVelocity());
        const float alpha = std::clamp(FastAtan2(bodyAir.y, bodyAir.z), -kMaxDownwashAlpha, kMaxDownwashAlpha);
        const float epsilon = m_set.downwash * (std::isfinite(alpha) ? alpha : 0.0f);
        downwashCos = std::cos(epsilon);
        downwashSin = std::sin(epsilon);
    }
    for (int i = 0; i < m_segmentCount; ++i)
    {
        TSegment& segment = m_segments[i];
        // The segment's arm in world axes gives both its velocity and its place.
        const CVector3 arm = segment.point * body.GetOrientation();
        CVector3 air = -(body.GetVelocity() + body.GetAngularVelocity().Cross(arm));
        CVector3 slipstream;
        if (m_model->GetInducedWind(slipstream, segment.point))
            air += slipstream;
        air += m_model->GetWindField().GetWind(body.GetPosition() + arm);
        CVector3 bodyAir = body.WorldToBodyVector(air);
        if (downwashSin != 0.0f)
            bodyAir = CVector3(bodyAir.x, bodyAir.y * downwashCos - bodyAir.z * downwashSin,
                               bodyAir.z * downwashCos + bodyAir.y * downwashSin);

        const float value = segment.servo ? segment.servo->GetServoPosition() : 0.0f;
        segment.deflection = segment.maxDeflection * kRadPerDeg * value;
        if (segment.reverse)
            segment.deflection = -segment.deflection;
        if (segment.dof)
            segment.dof->SetRotation(CVector3(0.0f, segment.deflection, 0.0f));

        // The rows (S, U, C) are orthonormal in body axes: the air in surface axes is its three
        // projections, and the forces go back through the rows (the records are in body axes).
        const CVector3 local(bodyAir.Dot(segment.spanDirection), bodyAir.Dot(segment.normal),
                             bodyAir.Dot(segment.chordDirection));
        CVector3 lift;
        CVector3 drag;
        float cp = 0.0f;
        CalcSurfaceAerodynamicForces(local, segment.area, m_aspectRatio, m_set.efficiency, segment.deflection,
                                     segment.controlChordFraction, m_airfoil, lift, drag, cp, segment.alpha,
                                     m_set.controlMaxLift, m_set.liftingLine, &segment.induced);
        const auto toBody = [&](const CVector3& v) {
            return segment.spanDirection * v.x + segment.normal * v.y + segment.chordDirection * v.z;
        };
        lift = toBody(lift);
        drag = toBody(drag);

        const CVector3 point = segment.point + segment.chordDirection * (cp * segment.chord);
        CForce& liftForce = m_forces[static_cast<size_t>(2 * i)];
        CForce& dragForce = m_forces[static_cast<size_t>(2 * i + 1)];
        liftForce.vector = lift;
        liftForce.point = point;
        dragForce.vector = drag;
        dragForce.point = point;
    }
}

void CPartWing3::DrawDebug(IDebugDraw& draw)
{
    if (!m_model)
        return;
    const CEngineDynamic& body = m_model->GetBody();
    for (int i = 0; i < m_segmentCount; ++i)
    {
        const TSegment& segment = m_segments[i];
        const CVector3 halfSpan = segment.spanDirection * (0.5f * segment.span);
        const CVector3 chord = segment.chordDirection * segment.chord;
        const CVector3 corners[4] = {segment.point - halfSpan, segment.point + halfSpan,
                                     segment.point + halfSpan + chord, segment.point - halfSpan + chord};
        for (int k = 0; k < 4; ++k)
            draw.Line(body.BodyToWorldPoint(corners[k]), body.BodyToWorldPoint(corners[(k + 1) % 4]), kOutlineColour);
        if (segment.controlChordFraction > 0.0f && segment.controlChordFraction < 1.0f)
        {
            const CVector3 hinge = chord * (1.0f - segment.controlChordFraction);
            draw.Line(body.BodyToWorldPoint(segment.point - halfSpan + hinge),
                      body.BodyToWorldPoint(segment.point + halfSpan + hinge), kHingeColour);
        }
    }
}
