#include "model/CPartWheel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/CModel.h"
#include "model/IDebugDraw.h"
#include "model/IModelSounds.h"
#include "model/PartClassTable.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr int kOutlineColour = 30;
constexpr int kOutlineSegments = 16;
} // namespace

CPartWheel::CPartWheel() : CPartPhysic(PART_WHEEL) {}

bool CPartWheel::AttachToModel(CModel& model)
{
    m_hint = TTerrainHint();
    m_stiction.Release();
    return CPartPhysic::AttachToModel(model);
}

bool CPartWheel::ApplyProperties()
{
    m_forces[0].point = m_set.position;
    m_forces[0].vector = CVector3();
    m_massElement.Reset();
    const CVector3 half(0.5f * kMassCubeEdge, 0.5f * kMassCubeEdge, 0.5f * kMassCubeEdge);
    if (const float mass = UsableMass(m_set.mass, "MASS"); mass > 0.0f)
        m_massElement.AddBox(mass / (kMassCubeEdge * kMassCubeEdge * kMassCubeEdge), m_set.position - half,
                             m_set.position + half);
    if (m_model != nullptr)
        m_model->SetMassMustBeRecomputed();
    m_linked = true;
    return true;
}

void CPartWheel::CalcForces(float)
{
    CForce& reaction = m_forces[0];
    reaction.vector = CVector3();
    reaction.point = m_set.position;
    if (!m_linked || m_model == nullptr)
        return;
    CEngineDynamic& body = m_model->GetBody();
    CVector3 normal;
    if (body.GetHeightAboveTerrain(normal) > kMaxBodyHeight)
    {
        m_groundHeight = std::numeric_limits<float>::lowest();
        m_inContact = false;
        m_stiction.Release();
        return;
    }

    const CVector3 point = body.BodyToWorldPoint(m_set.position);
    m_groundHeight = m_model->GetTerrain().GetTerrainHeight(point.x, point.z, m_hint, normal);
    const CVector3 velocity = body.GetPointVelocity(m_set.position);
    const float height = point.y - m_groundHeight;
    if (!(height < m_set.restLength))
    {
        m_inContact = false;
        m_stiction.Release();
        return;
    }

    float spring = (m_set.restLength - height) * m_set.springiness;
    // Damping takes the rebound out: the spring pushes less while the point rises out of the
    // ground, as a collision point's does. (Weakening it while the point sinks instead would
    // feed energy into every bounce.)
    const float rising = std::max(velocity.y, 0.0f);
    const float damping = std::min(std::min(10.0f * rising, 2.0f) * m_set.damping * spring, spring);
    spring -= damping;

    CVector3 force(0.0f, spring, 0.0f);
    const float slide = std::sqrt(velocity.x * velocity.x + velocity.z * velocity.z);
    if (slide > 1e-5f)
    {
        float mu = kFrictionSlope * slide;
        mu = mu >= kDynamicThreshold ? std::min(mu, m_set.dynamicFriction) : std::min(mu, m_set.staticFriction);
        force += CVector3(velocity.x, 0.0f, velocity.z) * (-mu * spring / slide);
    }
    // Side grip: resists the point's sliding along the body's X axis (the axle).
    const CVector3 side = body.GetOrientation().row[0];
    force -= side * (kSideGrip * body.GetMass() * velocity.Dot(side));
    force += m_stiction.Hold(point, velocity, spring, m_set.sideStaticFriction,
                             body.BodyToWorldVector(m_set.axis));

    reaction.vector = CVector3(std::clamp(force.x, -kMaxComponent, kMaxComponent),
                               std::clamp(force.y, -kMaxComponent, kMaxComponent),
                               std::clamp(force.z, -kMaxComponent, kMaxComponent));

    if (!m_inContact)
    {
        const float mass = body.GetMass();
        const float volume = mass > 0.0f ? reaction.vector.Length() * kInverseG * 3.0f / mass : 0.0f;
        m_model->GetServices().sounds->PlayTouch(std::clamp(volume, 0.0f, 1.0f), body.GetPosition(), body.GetVelocity());
    }
    m_inContact = true;
}

void CPartWheel::DrawDebug(IDebugDraw& draw)
{
    if (m_model == nullptr)
        return;
    CEngineDynamic& body = m_model->GetBody();
    // An outline cylinder about AXIS: two circles WIDTH apart and four lines between them.
    const CVector3 axis = m_set.axis.Normalized().IsZero() ? CVector3(1.0f, 0.0f, 0.0f) : m_set.axis.Normalized();
    CVector3 u = axis.Cross(CVector3(0.0f, 1.0f, 0.0f)).Normalized();
    if (u.IsZero())
        u = axis.Cross(CVector3(1.0f, 0.0f, 0.0f)).Normalized();
    const CVector3 v = axis.Cross(u);
    const float radius = 0.5f * m_set.diameter;
    const CVector3 offset = axis * (0.5f * m_set.width);
    CVector3 previous[2];
    for (int i = 0; i <= kOutlineSegments; ++i)
    {
        const float t = 2.0f * kPi * static_cast<float>(i) / kOutlineSegments;
        const CVector3 rim = (u * std::cos(t) + v * std::sin(t)) * radius;
        const CVector3 side[2] = {body.BodyToWorldPoint(m_set.position + rim + offset),
                                  body.BodyToWorldPoint(m_set.position + rim - offset)};
        if (i > 0)
            for (int k = 0; k < 2; ++k)
                draw.Line(previous[k], side[k], kOutlineColour);
        if (i % (kOutlineSegments / 4) == 0 && i < kOutlineSegments)
            draw.Line(side[0], side[1], kOutlineColour);
        previous[0] = side[0];
        previous[1] = side[1];
    }
}
