#include "model/AirfoilAerodynamics.h"

#include <algorithm>
#include <cmath>

#include "core/FastAtan2.h"
#include "model/CAirfoil.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr int kInducedAngleSteps = 24; // bisection halvings: 2 (2.5 / k) / 2^24, far below a table step
constexpr float kSegmentCheckWidth = 0.02f; // rad, a little over one row of the airfoil tables
} // namespace

float ControlSurfaceLiftIncrement(float deflectionRad, float controlChordFraction, float maxControlLift)
{
    // Saturates above only: a negative deflection keeps gaining beyond 20 deg.
    const float deflectionFactor = std::min(deflectionRad / Aero::kFullEffectDeflection, 1.0f);
    const float chordFactor = std::clamp(controlChordFraction / Aero::kFullEffectChordFraction, 0.0f, 1.0f);
    const float increment = maxControlLift * deflectionFactor * chordFactor;
    // A broken input must not poison the forces.
    return std::isfinite(increment) ? increment : 0.0f;
}

float InducedAngleOfAttack(float alpha, float dCl, float piAspectEfficiency, const CAirfoil& airfoil)
{
    // g(x) = x + (Cl(x) + dCl) / k - alpha rises through zero between these bounds for any |Cl|
    // below 2.5; bisection also finds a root past the stall, where Cl(x) may fall faster than k.
    const float k = piAspectEfficiency;
    const float reach = (2.5f + std::fabs(dCl)) / k;
    float low = alpha - reach;
    float high = alpha + reach;
    const auto g = [&](float x) {
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        airfoil.GetCoefficients(x, cl, cd, cp);
        return x + (cl + dCl) / k - alpha;
    };
    bool solved = false; // the straight-line solve below is tried once
    for (int i = 0; i < kInducedAngleSteps; ++i)
    {
        // Once both ends lie in one row segment, g is a straight line between them and the
        // halvings left would only close in on where it crosses zero: solve for it instead.
        // This saves about two thirds of the lookups of a tail each sub-step.
        const int segment = !solved && high - low < kSegmentCheckWidth ? airfoil.GetSegment(low) : -1;
        if (segment >= 0 && segment == airfoil.GetSegment(high))
        {
            solved = true;
            const float gLow = g(low), gHigh = g(high);
            if (gLow <= 0.0f && gHigh > 0.0f)
            {
                const float root = low - gLow * (high - low) / (gHigh - gLow);
                if (std::isfinite(root))
                    return std::clamp(root, low, high);
            }
        }
        const float x = 0.5f * (low + high);
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        airfoil.GetCoefficients(x, cl, cd, cp);
        if (x + (cl + dCl) / k > alpha)
            high = x;
        else
            low = x;
    }
    const float effective = 0.5f * (low + high);
    return std::isfinite(effective) ? effective : alpha;
}

void CalcAirfoilAerodynamicForces(const CVector3& airVelocity, const CMatrix3& surfaceFrame, float area,
                                  float aspectRatio, float efficiency, float deflectionRad,
                                  float controlChordFraction, const CAirfoil* airfoil, CVector3& outLift,
                                  CVector3& outDrag, float& outCp, float& outAlpha, float maxControlLift,
                                  bool liftingLine)
{
    outLift = CVector3();
    outDrag = CVector3();
    outCp = 0.0f;
    outAlpha = 0.0f;
    const float speed = airVelocity.Length();
    if (!(speed >= Aero::kMinAirspeed) || !std::isfinite(speed))
        return;
    CalcSurfaceAerodynamicForces(airVelocity * surfaceFrame.Inverse(), area, aspectRatio, efficiency, deflectionRad,
                                 controlChordFraction, airfoil, outLift, outDrag, outCp, outAlpha, maxControlLift,
                                 liftingLine);
    outLift = outLift * surfaceFrame;
    outDrag = outDrag * surfaceFrame;
}

void CalcSurfaceAerodynamicForces(const CVector3& local, float area, float aspectRatio, float efficiency,
                                  float deflectionRad, float controlChordFraction, const CAirfoil* airfoil,
                                  CVector3& outLift, CVector3& outDrag, float& outCp, float& outAlpha,
                                  float maxControlLift, bool liftingLine)
{
    outLift = CVector3();
    outDrag = CVector3();
    outCp = 0.0f;
    outAlpha = 0.0f;
    // Only the flow across the span makes lift (the independence principle of swept-wing theory):
    // the spanwise component is dropped from the dynamic pressure, the angle of attack and the
    // lift direction. With it, a cambered wing in a purely sideways breeze lifted as in forward
    // flight and blew parked models over.
    const float crossSpeed = std::sqrt(local.y * local.y + local.z * local.z);
    if (!(crossSpeed >= Aero::kMinAirspeed) || !std::isfinite(crossSpeed))
        return;
    const CVector3 flow(0.0f, local.y / crossSpeed, local.z / crossSpeed);
    const float alpha = FastAtan2(flow.y, std::fabs(flow.z));
    const float dCl = ControlSurfaceLiftIncrement(deflectionRad, controlChordFraction, maxControlLift);

    float cl = 0.0f;
    float cd = 0.0f;
    float cp = 0.0f;
    const float inducedDenominator = kPi * aspectRatio * efficiency;
    if (airfoil && liftingLine && inducedDenominator > 0.0f)
        airfoil->GetCoefficients(InducedAngleOfAttack(alpha, dCl, inducedDenominator, *airfoil), cl, cd, cp);
    else if (airfoil)
        airfoil->GetCoefficients(alpha, cl, cd, cp);

    const float qS = crossSpeed * crossSpeed * area * Aero::kHalfAirDensity;
    const float totalCl = cl + dCl;
    const float inducedCd = inducedDenominator > 0.0f ? totalCl * totalCl / inducedDenominator : 0.0f;
    const float lift = qS * totalCl;
    const float drag = qS * (cd + inducedCd);

    const CVector3 up(0.0f, 1.0f, 0.0f);
    const CVector3 liftDirection = flow.Cross(up.Cross(flow)); // length cos(alpha)
    outLift = liftDirection * lift;
    outDrag = flow * drag;
    outCp = cp;
    outAlpha = alpha;
}
