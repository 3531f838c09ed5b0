#pragma once
// Lift and drag of one lifting surface in an air flow: the routine the wings call once per
// surface and integration sub-step.
//
// Given the air velocity relative to the surface (world, m/s) and the surface frame (rows: local
// x = span, y = upper normal, z = chord from leading to trailing edge, each in world axes):
//   1. |v| < 0.001 m/s: no force, Cp = alpha = 0.
//   2. E = the flow direction in surface axes (v * frame^-1, normalised).
//   3. alpha = atan2(Ey, sqrt(Ex^2 + Ez^2)): flow rising towards +y is a positive angle.
//   4. control-surface increment dCl (ControlSurfaceLiftIncrement).
//   5. (Cl, Cd, Cp) from the airfoil (0, 0, 0 without one); with liftingLine (WING3 LIFTING_LINE 1)
//      at the effective angle of attack (InducedAngleOfAttack) instead of alpha.
//   6. qS = 0.6125 * |v|^2 * S (0.6125 kg/m^3 is half the sea-level air density 1.225; the
//      density is constant at every height).
//   7. lift = qS (Cl + dCl); drag = qS (Cd + (Cl + dCl)^2 / (pi AR e)): profile plus induced drag.
//   8. drag along E; lift along E x (Y x E) = Y - Ey E, not renormalised: its length cos(alpha)
//      fades the lift as the flow turns towards the normal, and flow along the normal gives drag
//      only.
//   9. both forces back to world axes.

#include "core/CMatrix3.h"
#include "core/CVector3.h"

class CAirfoil;

namespace Aero
{
constexpr float kHalfAirDensity = 0.6125f;   // kg/m^3, half of 1.225 at sea level
constexpr float kMinAirspeed = 0.001f;       // m/s; below it a surface feels no air
constexpr float kFullEffectDeflection = 0.34906585f; // rad (20 deg): full control effect
constexpr float kFullEffectChordFraction = 0.3f;     // control chord fraction for full effect
constexpr float kMaxControlLift = 0.4f;      // default dCl at full deflection and chord fraction
} // namespace Aero

// Lift coefficient a control surface adds: maxLift * f(delta) * g(cf), where f = delta / 20 deg and
// g = cf / 0.3 grow linearly to full effect and stay there. f is clamped from above only (at 1):
// a negative deflection gives a negative increment without a lower limit (-30 deg: f = -1.5);
// g is clamped to 0..1. maxLift is the surface's CONTROL_MAX_LIFT key (0.4 unless the model
// file says otherwise; thin-aerofoil flap theory gives about 1.0-1.4 for 20 deg on a 30 % flap).
// Non-finite inputs give 0.
float ControlSurfaceLiftIncrement(float deflectionRad, float controlChordFraction,
                                  float maxControlLift = Aero::kMaxControlLift);

// The effective angle of attack of a finite wing (Prandtl's lifting line): the geometric alpha
// less the induced angle CL / (pi AR e), where CL = Cl(effective) + dCl, found by bisection. In
// the linear range the lift slope a falls to a / (1 + a / (pi AR e)), a third of the section's for
// a fin of aspect ratio 1.3, and the stall moves to a larger alpha; a control increment falls by
// the same factor. k = pi AR e must be positive.
//
// A surface that keeps a TInducedAngleStart between sub-steps has the solve start from a narrow
// bracket around its last answer, widened until it holds the root, and closed to the same width
// as the cold solve: the same root to that width, at a third of the lookups. Only where the
// root is the only one: g(x) = x + Cl(x) / k - c with c = alpha - dCl / k has several roots
// for c inside the range where x + Cl(x) / k folds back (past the stall of a small k), and
// there the cold solve's pick is kept.
struct TInducedAngleStart
{
    static constexpr int kMaxFolds = 8;
    float effective = 0.0f;            // the last answer (rad)
    bool valid = false;                // effective holds one
    bool warm = false;                 // the last solve started from it
    const CAirfoil* airfoil = nullptr; // the folds below are of this airfoil and k
    float k = 0.0f;
    // Ranges of c (rad) where x + Cl(x) / k = c may have more than one root for x within three
    // turns of zero, widened by a margin for rounding, in order; all of c when the table is not
    // finite.
    float fold[kMaxFolds][2] = {};
    int foldCount = 0;

    void FindFolds(const CAirfoil& forAirfoil, float forK);
    bool MayFold(float c) const;
};
float InducedAngleOfAttack(float alpha, float dCl, float piAspectEfficiency, const CAirfoil& airfoil,
                           TInducedAngleStart* start = nullptr);

// All outputs are written; forces in world axes (N), Cp as a fraction of the chord from the
// leading edge, alpha in radians. airfoil may be null (zero coefficients). A non-positive
// aspect ratio or efficiency drops the induced drag instead of dividing by zero.
void CalcAirfoilAerodynamicForces(const CVector3& airVelocity, const CMatrix3& surfaceFrame, float area,
                                  float aspectRatio, float efficiency, float deflectionRad,
                                  float controlChordFraction, const CAirfoil* airfoil, CVector3& outLift,
                                  CVector3& outDrag, float& outCp, float& outAlpha,
                                  float maxControlLift = Aero::kMaxControlLift, bool liftingLine = false);

// The same in surface axes: local is the air velocity in the rows' axes (span, normal, chord),
// and the forces come back in them. For callers that keep their surface frame in body axes and
// turn the air into it once (the wings, every segment of every sub-step), instead of inverting
// a world frame each time. A speed below the minimum or a non-finite one gives no force. start,
// when given, is the surface's own warm start of the lifting-line solve.
void CalcSurfaceAerodynamicForces(const CVector3& local, float area, float aspectRatio, float efficiency,
                                  float deflectionRad, float controlChordFraction, const CAirfoil* airfoil,
                                  CVector3& outLift, CVector3& outDrag, float& outCp, float& outAlpha,
                                  float maxControlLift = Aero::kMaxControlLift, bool liftingLine = false,
                                  TInducedAngleStart* start = nullptr);
