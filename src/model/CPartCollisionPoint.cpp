#include "model/CPartCollisionPoint.h"

#include <algorithm>
#include <cmath>

#include "model/CModel.h"
#include "model/IModelSounds.h"
#include "model/PartClassTable.h"

CPartCollisionPoint::CPartCollisionPoint() : CPartPhysic(PART_COLLISION_POINT) {}

bool CPartCollisionPoint::AttachToModel(CModel& model)
{
    m_hint = TTerrainHint();
    m_stiction.Release();
    return CPartPhysic::AttachToModel(model);
}

bool CPartCollisionPoint::ApplyProperties()
{
    m_reach = m_set.position.Length() + kReachMargin;
    m_linked = true;
    return true;
}

void CPartCollisionPoint::UpdateFrame(float)
{
    m_hit = m_inContact;
}

void CPartCollisionPoint::CalcForces(float dt)
{
    CForce& force = m_forces[0];
    force.vector = CVector3();
    force.point = m_set.position;
    m_timeSinceSound += dt;
    if (!m_linked || m_model == nullptr)
    {
        m_inContact = false;
        m_stiction.Release();
        return;
    }
    CEngineDynamic& body = m_model->GetBody();
    CVector3 normal;
    if (!(body.GetHeightAboveTerrain(normal) < m_reach))
    {
        // Too high for the point to reach the ground: no terrain query at all.
        m_inContact = false;
        m_soundReady = true;
        m_stiction.Release();
        return;
    }

    const CVector3 point = body.BodyToWorldPoint(m_set.position);
    const CVector3 velocity = body.GetPointVelocity(m_set.position);
    const float ground = m_model->GetTerrain().GetTerrainHeight(point.x, point.z, m_hint, normal);
    const float depth = point.y - ground;
    if (!(depth < 0.0f))
    {
        m_inContact = false;
        m_soundReady = true;
        m_stiction.Release();
        return;
    }
    m_inContact = true;
    m_hit = true;

    const float normalForce = -depth * kPenaltyStiffness;
    const float rebound =
        velocity.y > 0.0f ? std::clamp(-kSeparationDamping * velocity.y * normalForce, -normalForce, 0.0f) : 0.0f;
    const float slide = std::sqrt(velocity.x * velocity.x + velocity.z * velocity.z);
    CVector3 friction;
    if (slide > 0.0f)
    {
        const float magnitude = std::clamp(2.0f * (slide + slide * slide), 0.0f, kFrictionLimit * normalForce);
        friction = CVector3(velocity.x, 0.0f, velocity.z) * (-magnitude / slide);
    }
    friction += m_stiction.Hold(point, velocity, normalForce, m_set.staticFriction);
    force.vector = CVector3(friction.x, normalForce + rebound, friction.z);

    const float mass = body.GetMass();
    m_lastLoad = mass > 0.0f ? force.vector.Length() * kInverseG / mass : 0.0f;

    if (m_timeSinceSound > kSoundInterval && m_soundReady)
    {
        m_soundReady = false;
        m_timeSinceSound = 0.0f;
        m_model->GetServices().sounds->PlayCrash(std::clamp(m_lastLoad, 0.0f, 1.0f), body.GetPosition(),
                                                  body.GetVelocity());
    }
    m_model->AddContact(0, m_lastLoad);
}
