#pragma once
// COLLISION_POINT: a body point that must not sink into the terrain (wing tips, nose, tail).
//
// Per sub-step, when the body is close enough to the ground for the point to reach it (height
// above terrain below |POSITION| + 0.2 m), with depth d = point height - ground height < 0:
//   normal   N = -d * 490 N/m                   (1 cm deep holds 4.9 N)
//   damping  R = -0.75 * v.y * N, in -N .. 0    only while separating (v.y > 0): takes the
//                                               bounce out of the penalty spring
//   friction f = 2 (s + s^2), in 0 .. 2.8 N     against the horizontal velocity s
//   static   with STATIC_FRICTION mu > 0: the point also holds where it touched down until
//            that takes more than mu N (CStiction); 0 (the default) leaves friction f alone
//   force (world) = (-f ux, N + R, -f uz) at POSITION
// The load L = |force| / (g * model mass) goes to CModel::AddContact (damage while the body
// moves faster than 1 m/s, else rest) and sets the crash sound's volume (at most one sound per
// 0.4 s, and only after the point was above ground again).

#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_CollisionPoint.h"
#include "model/CStiction.h"
#include "model/ITerrain.h"

class CPartCollisionPoint : public CPartPhysic
{
public:
    static constexpr float kPenaltyStiffness = 490.00003f; // N per m of penetration
    static constexpr float kSeparationDamping = 0.75f;     // s/m
    static constexpr float kFrictionLimit = 2.8f;          // times the normal force
    static constexpr float kReachMargin = 0.2f;            // m beyond |POSITION|
    static constexpr float kSoundInterval = 0.4f;          // s between two crash sounds
    static constexpr float kInverseG = 0.101936795f;       // 1 / 9.81 (s^2/m)

    CPartCollisionPoint();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void UpdateFrame(float frameTime) override;
    void CalcForces(float dt) override;
    const char* GetMarkerNode() const override { return "CollisionPoint.osg"; }
    bool GetGroundContact(CVector3& outPoint, float& outReach) const override
    {
        outPoint = m_set.position;
        outReach = 0.0f;
        return true;
    }

    // Below the ground in the last sub-step.
    bool IsInContact() const { return m_inContact; }
    // Below the ground in any sub-step since the start of this part's last UpdateFrame (the
    // engine that names this point reads it in its own UpdateFrame, which runs first).
    bool WasHit() const { return m_hit; }
    // The load (in g) of the last contact.
    float GetLastLoad() const { return m_lastLoad; }

private:
    CPropertySet_CollisionPoint m_set;
    float m_reach = kReachMargin;   // m: |POSITION| + margin
    bool m_inContact = false;
    bool m_hit = false;             // latched contact, cleared every frame
    bool m_soundReady = true;       // set whenever the point is above the ground
    float m_timeSinceSound = kSoundInterval + 1.0f; // s
    float m_lastLoad = 0.0f;        // g
    TTerrainHint m_hint;            // this point's own search hint
    CStiction m_stiction;
};
