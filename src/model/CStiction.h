#pragma once
// Static friction of a ground contact: the contact holds where it first touched, as if on a
// stiff tangential spring-damper, until the force that takes exceeds mu N; then it slides, the
// anchor dragged along so the force stays mu N. Without it every contact friction that grows
// from zero with the sliding speed lets a steady breeze creep a parked model round.
//
// Spring k = N / kHoldDepth (mu N is reached kHoldDepth * mu from the anchor), damper
// c = kDampingPerNewton * N: critically damped for the share of the model's weight the contact
// carries (m = N / g), so it neither rings nor stiffens the sub-step.

#include "core/CVector3.h"

class CStiction
{
public:
    static constexpr float kHoldDepth = 0.005f;        // m of deflection per unit of mu
    static constexpr float kDampingPerNewton = 9.0f;   // s/m, 2 / sqrt(kHoldDepth * g)

    // Forget the anchor (the contact has left the ground).
    void Release() { m_anchored = false; }
    bool IsSliding() const { return m_sliding; }

    // The horizontal (world x, z) holding force on a contact at `point` moving at `velocity`
    // (world), pressed down with `normalForce` (N). `along`, when not zero, is the one world
    // direction the contact grips in (a wheel's axle); the contact then rolls freely across it.
    CVector3 Hold(const CVector3& point, const CVector3& velocity, float normalForce, float mu,
                  const CVector3& along = CVector3());

private:
    CVector3 m_anchor;
    bool m_anchored = false;
    bool m_sliding = false;
};
