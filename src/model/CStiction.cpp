#include "model/CStiction.h"

#include <cmath>

CVector3 CStiction::Hold(const CVector3& point, const CVector3& velocity, float normalForce, float mu,
                         const CVector3& along)
{
    m_sliding = false;
    if (!(normalForce > 0.0f) || !(mu > 0.0f))
    {
        m_anchored = false;
        return CVector3();
    }
    if (!m_anchored)
    {
        m_anchor = point;
        m_anchored = true;
    }
    CVector3 offset(point.x - m_anchor.x, 0.0f, point.z - m_anchor.z);
    CVector3 slide(velocity.x, 0.0f, velocity.z);
    const CVector3 grip = CVector3(along.x, 0.0f, along.z).Normalized();
    if (!grip.IsZero())
    {
        // Rolling across the grip direction moves the anchor with the wheel, so a turn of the
        // model later does not swing a rolled distance onto the axle.
        offset = grip * offset.Dot(grip);
        slide = grip * slide.Dot(grip);
    }
    const float stiffness = normalForce / kHoldDepth;
    CVector3 force = offset * -stiffness - slide * (kDampingPerNewton * normalForce);
    const float limit = mu * normalForce;
    const float magnitude = force.Length();
    if (magnitude > limit)
    {
        force *= limit / magnitude;
        m_sliding = true;
        offset = force * (-1.0f / stiffness);
    }
    m_anchor = CVector3(point.x - offset.x, m_anchor.y, point.z - offset.z);
    return force;
}
