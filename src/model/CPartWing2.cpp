#include "model/CPartWing2.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "model/AirfoilAerodynamics.h"
#include "model/CAirfoil.h"
#include "model/CAirfoilList.h"
#include "model/CDegreeOfFreedom.h"
#include "model/CDegreeOfFreedomList.h"
#include "model/CModel.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"
#include "model/IDebugDraw.h"
#include "model/IWindField.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kRadPerDeg = 0.017453292f;
constexpr int kOutlineColour = 30;
constexpr int kHingeColour = 27;
} // namespace

CPartWing2::CPartWing2() : CPartPhysic(PART_WING2) {}

CPartWing2::~CPartWing2() = default;

std::string CPartWing2::Who() const
{
    return StringPrintf("%s: WING2 '%s'", m_model ? m_model->GetFileName().c_str() : "(no model)",
                        GetName().c_str());
}

void CPartWing2::Report(const std::string& what) const
{
    DiagPrint("%s: %s\n", Who().c_str(), what.c_str());
}

bool CPartWing2::ApplyProperties()
{
    bool valid = true;
    m_airfoil = Airfoils().GetForPart(m_set.airfoil, Who());
    if (!m_airfoil)
        valid = false;

    m_area = m_set.chord * m_set.span;
    m_aspectRatio = m_set.chord != 0.0f ? m_set.span / m_set.chord : 0.0f;
    if (!(m_set.chord > 0.0f) || !(m_set.span > 0.0f))
    {
        Report(StringPrintf("CHORD %g and SPAN %g must be positive; the part produces no force", m_set.chord,
                            m_set.span));
        valid = false;
    }

    if (m_set.positionType == "LEFT_LE")
        m_positionType = POSITION_LEFT_LE;
    else if (m_set.positionType == "RIGHT_LE")
        m_positionType = POSITION_RIGHT_LE;
    else if (m_set.positionType == "CENTER_LE")
        m_positionType = POSITION_CENTER_LE;
    else
    {
        m_positionType = POSITION_UNKNOWN;
        Report("POSITION_TYPE '" + m_set.positionType +
               "' is none of LEFT_LE, RIGHT_LE, CENTER_LE; the part produces no force");
        valid = false;
    }

    if (!BuildFrame())
        valid = false;

    m_maxDeflection = m_set.controlSurfaceMaxAngle * kRadPerDeg;
    m_variable = nullptr;
    m_dof = nullptr;
    if (m_model)
    {
        if (!m_set.controlSurfaceVariable.empty())
        {
            m_variable = m_model->GetVariableSearchList().Find(m_set.controlSurfaceVariable);
            if (!m_variable)
                Report("variable '" + m_set.controlSurfaceVariable + "' not found; the control surface stays neutral");
        }
        if (!m_set.dof.empty())
            m_dof = m_model->GetDegreesOfFreedom().Get(m_set.dof);
    }
    m_hasControlSurface =
        m_variable != nullptr && m_set.controlSurfaceMaxAngle != 0.0f && m_set.controlSurfaceChord != 0.0f;

    float z0 = 0.0f;
    if (m_positionType == POSITION_LEFT_LE)
        z0 = m_set.span * 0.5f;
    else if (m_positionType == POSITION_RIGHT_LE)
        z0 = -m_set.span * 0.5f;
    m_pointA = CVector3(0.0f, 0.0f, z0) * m_frame + m_set.position;
    m_pointB = CVector3(-m_set.chord * 0.5f, 0.0f, z0) * m_frame + m_set.position;

    BuildMass();
    ZeroForces();
    m_alpha = 0.0f;
    m_deflection = 0.0f;
    if (m_model)
        m_model->SetMassMustBeRecomputed();
    m_linked = valid;
    return valid;
}

bool CPartWing2::BuildFrame()
{
    if (!m_set.position.IsZero() && !m_set.direction.IsZero())
    {
        const CVector3 x = m_set.direction.Normalized();
        const CVector3 y = x.Cross(m_set.normal).Cross(x).Normalized();
        const CVector3 z = x.Cross(y).Normalized();
        if (y.IsZero() || z.IsZero() || !std::isfinite(x.x + x.y + x.z + y.x + y.y + y.z))
        {
            // A normal along the direction (or none) leaves no plane for the surface.
            Report("NORMAL is zero or parallel to DIRECTION; the part produces no force");
            m_frame = CMatrix3();
            return false;
        }
        m_frame = CMatrix3::FromRows(x, y, z);
        return true;
    }
    m_frame = CMatrix3::FromEuler((m_set.heading - 90.0f) * kRadPerDeg, -m_set.roll * kRadPerDeg,
                                  m_set.pitch * kRadPerDeg);
    return true;
}

void CPartWing2::BuildMass()
{
    m_massElement.Reset();
    const float chord = m_set.chord;
    const float span = m_set.span;
    if (!(chord > 0.0f) || !(span > 0.0f))
        return;
    // Wing frame coordinates: x from the leading edge back over the chord, y over the
    // thickness and z over the span, centred on A.
    const CVector3 corner1(-chord, -0.1f * chord, -0.5f * span);
    const CVector3 corner2(0.0f, 0.1f * chord, 0.5f * span);
    m_massElement.AddBox(kDensity, corner1, corner2, m_pointA, m_frame);
}

void CPartWing2::CalcForces(float)
{
    if (!m_linked || !m_model)
    {
        ZeroForces();
        return;
    }
    CEngineDynamic& body = m_model->GetBody();
    CVector3 air = -body.GetPointVelocity(m_pointB);
    CVector3 slipstream;
    if (m_model->GetInducedWind(slipstream, m_pointB))
        air += slipstream;
    air += m_model->GetWindField().GetWind(body.BodyToWorldPoint(m_pointB));

    const float value = m_variable ? m_variable->GetValue() : 0.0f;
    m_deflection = value * m_maxDeflection;
    if (m_dof)
        m_dof->SetRotation(CVector3(0.0f, m_deflection, 0.0f));

    const CVector3& x = m_frame.row[0];
    const CMatrix3 surface = CMatrix3::FromRows(m_frame.row[2], m_frame.row[1], -x) * body.GetOrientation();
    CVector3 lift;
    CVector3 drag;
    float cp = 0.0f;
    CalcAirfoilAerodynamicForces(air, surface, m_area, m_aspectRatio, kSpanEfficiency, m_deflection,
                                 m_set.controlSurfaceChord, m_airfoil, lift, drag, cp, m_alpha,
                                 m_set.controlSurfaceMaxLift);

    const CVector3 point = m_pointA - x * (cp * m_set.chord);
    m_forces[kLiftForce].vector = lift;
    m_forces[kLiftForce].point = point;
    m_forces[kDragForce].vector = drag;
    m_forces[kDragForce].point = point;
}

void CPartWing2::DrawDebug(IDebugDraw& draw)
{
    if (!m_model)
        return;
    const CEngineDynamic& body = m_model->GetBody();
    const CVector3& x = m_frame.row[0];
    const CVector3& z = m_frame.row[2];
    const CVector3 halfSpan = z * (0.5f * m_set.span);
    const CVector3 chord = x * m_set.chord;
    const CVector3 corners[4] = {m_pointA - halfSpan, m_pointA + halfSpan, m_pointA + halfSpan - chord,
                                 m_pointA - halfSpan - chord};
    for (int i = 0; i < 4; ++i)
        draw.Line(body.BodyToWorldPoint(corners[i]), body.BodyToWorldPoint(corners[(i + 1) % 4]), kOutlineColour);
    if (m_set.controlSurfaceChord > 0.0f && m_set.controlSurfaceChord < 1.0f)
    {
        const CVector3 hinge = chord * (1.0f - m_set.controlSurfaceChord);
        draw.Line(body.BodyToWorldPoint(m_pointA - halfSpan - hinge),
                  body.BodyToWorldPoint(m_pointA + halfSpan - hinge), kHingeColour);
    }
}
