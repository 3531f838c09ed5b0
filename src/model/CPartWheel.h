#pragma once
// WHEEL: the simple wheel. A vertical spring below POSITION with damping, a friction force
// against the sliding direction and a touch sound; no steering, no spin.
//
// Per sub-step, with d = contact point height above the ground:
//   body more than 2 m above the ground: nothing (no terrain query)
//   d < REST_LENGTH: F = (REST_LENGTH - d) SPRINGINESS, less damping while the point rises out
//     of the ground: min(10 * rising speed, 2) * DAMPING * F, at most F
//   friction: mu = 2.8 s for the horizontal speed s, limited to DYNAMIC_FRICTION from 0.5 on
//     and to STATIC_FRICTION below; mu F against the horizontal velocity
//   side grip: -2.45 * model mass * (point velocity along the body's X axis) along that axis
//   with SIDE_STATIC_FRICTION mu > 0: the wheel also holds along its AXIS where it touched down
//     until that takes more than mu F (CStiction); it still rolls freely across the axle
//   "Reaction" = F up + friction + side grip, each component within +-200 N.
// The first contact after being clear plays the touch sound (volume |F| / (g * model mass) * 3).
// Its mass is a 5 cm cube of MASS at POSITION.

#include "core/CVector3.h"
#include "model/CPartPhysic.h"
#include "model/CPropertySet_Wheel.h"
#include "model/CStiction.h"
#include "model/ITerrain.h"

class CPartWheel : public CPartPhysic
{
public:
    static constexpr float kMaxBodyHeight = 2.0f;      // m above the ground: wheel cannot touch
    static constexpr float kFrictionSlope = 2.8f;      // friction coefficient per m/s of slide
    static constexpr float kDynamicThreshold = 0.5f;   // coefficient from which it is dynamic
    static constexpr float kSideGrip = 2.45f;          // 1/s
    static constexpr float kMaxComponent = 200.0f;     // N
    static constexpr float kInverseG = 0.101936795f;   // s^2/m
    static constexpr float kMassCubeEdge = 0.05f;      // m

    CPartWheel();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }
    void CalcForces(float dt) override;
    void DrawDebug(IDebugDraw& draw) override;
    const char* GetMarkerNode() const override { return "Wheel.osg"; }
    // The point is the spring's top; the contact sits the spring's rest travel below it.
    bool GetGroundContact(CVector3& outPoint, float& outReach) const override
    {
        outPoint = m_set.position;
        outReach = m_set.restLength;
        return true;
    }

    bool IsInContact() const { return m_inContact; }
    // Ground height under the point at the last query; the lowest float while the body was
    // too high to ask.
    float GetGroundHeight() const { return m_groundHeight; }

private:
    CPropertySet_Wheel m_set;
    bool m_inContact = false;
    float m_groundHeight = 0.0f; // m
    TTerrainHint m_hint;         // this wheel's own search hint
    CStiction m_stiction;
};
