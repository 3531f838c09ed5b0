#include "model/AirfoilAerodynamics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "core/FastAtan2.h"
#include "model/CAirfoil.h"

namespace
{
constexpr float kPi = 3.14159265f;
// The solve closes its bracket to 2^-24 of the cold one, 2 (2.5 / k) / 2^24, far below a table
// step (or solves the straight line of one row segment exactly).
constexpr float kFinalWidth = 1.0f / 16777216.0f;
constexpr int kMaxHalvings = 40;
constexpr float kWarmStep = 0.004f;   // rad, a quarter of a row: the first warm bracket is +-this
constexpr float kMaxWarmReach = 7.0f; // rad: cold bounds inside the turns the fold range covers
constexpr float kFoldMargin = 1e-4f;  // rad
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

void TInducedAngleStart::FindFolds(const CAirfoil& forAirfoil, float forK)
{
    airfoil = &forAirfoil;
    k = forK;
    foldCount = 0;
    // h(x) = x + Cl(x) / k is linear between the rows, so it folds back only at a row: every
    // level between a row's h and the highest h before it is met at least three times.
    const TTableData& table = forAirfoil.GetCombinedTable();
    std::vector<std::pair<float, float>> folds;
    float highest = -std::numeric_limits<float>::infinity();
    bool finite = true;
    for (int turn = -1; turn <= 1 && finite; ++turn)
        for (int row = 0; row < table.GetRowCount() && finite; ++row)
        {
            const float x = table.GetKey(row) / CAirfoil::kDegPerRad + 2.0f * kPi * static_cast<float>(turn);
            const float h = x + table.GetValue(row, 0) / forK;
            if (!std::isfinite(h))
            {
                finite = false;
                folds.assign(1, {-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()});
            }
            else if (h < highest)
                folds.emplace_back(h - kFoldMargin, highest + kFoldMargin);
            highest = std::max(highest, h);
        }
    // Merged in order; past kMaxFolds the closest neighbours merge (a fold range only grows).
    std::sort(folds.begin(), folds.end());
    for (const auto& [from, to] : folds)
    {
        if (foldCount > 0 && from <= fold[foldCount - 1][1])
            fold[foldCount - 1][1] = std::max(fold[foldCount - 1][1], to);
        else if (foldCount < kMaxFolds)
        {
            fold[foldCount][0] = from;
            fold[foldCount++][1] = to;
        }
        else
            fold[kMaxFolds - 1][1] = std::max(fold[kMaxFolds - 1][1], to);
    }
}

bool TInducedAngleStart::MayFold(float c) const
{
    for (int i = 0; i < foldCount; ++i)
        if (c >= fold[i][0] && c <= fold[i][1])
            return true;
    return !(c == c);
}

float InducedAngleOfAttack(float alpha, float dCl, float piAspectEfficiency, const CAirfoil& airfoil,
                           TInducedAngleStart* start)
{
    // g(x) = x + (Cl(x) + dCl) / k - alpha rises through zero between these bounds for any |Cl|
    // below 2.5; bisection also finds a root past the stall, where Cl(x) may fall faster than k.
    const float k = piAspectEfficiency;
    const float reach = (2.5f + std::fabs(dCl)) / k;
    float low = alpha - reach;
    float high = alpha + reach;
    const float width = (high - low) * kFinalWidth;
    const auto g = [&](float x) {
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        airfoil.GetCoefficients(x, cl, cd, cp);
        return x + (cl + dCl) / k - alpha;
    };
    float gLow = std::numeric_limits<float>::quiet_NaN(), gHigh = gLow; // known once asked
    if (start != nullptr)
    {
        if (start->airfoil != &airfoil || start->k != k)
            start->FindFolds(airfoil, k);
        const float last = start->effective;
        start->warm = start->valid && reach < kMaxWarmReach && last > low && last < high && !start->MayFold(alpha - dCl / k);
        if (start->warm)
        {
            // Widen from the last answer, doubling, until g changes sign; never beyond the cold
            // bounds (g may not change sign in them at all: then the cold solve decides).
            float step = kWarmStep;
            float a = std::max(last - step, low), b = std::min(last + step, high);
            float ga = g(a), gb = g(b);
            while (ga > 0.0f && a > low)
            {
                b = a;
                gb = ga;
                step *= 2.0f;
                a = std::max(a - step, low);
                ga = g(a);
            }
            while (!(gb > 0.0f) && b < high)
            {
                a = b;
                ga = gb;
                step *= 2.0f;
                b = std::min(b + step, high);
                gb = g(b);
            }
            start->warm = ga <= 0.0f && gb > 0.0f;
            if (start->warm)
            {
                low = a;
                high = b;
                gLow = ga;
                gHigh = gb;
            }
        }
    }
    float effective = std::numeric_limits<float>::quiet_NaN();
    bool solved = false; // the straight-line solve below is tried once
    for (int i = 0; i < kMaxHalvings && !(high - low <= width); ++i)
    {
        // Once both ends lie in one row segment, g is a straight line between them and the
        // halvings left would only close in on where it crosses zero: solve for it instead.
        // This saves about two thirds of the lookups of a tail each sub-step.
        const int segment = !solved && high - low < kSegmentCheckWidth ? airfoil.GetSegment(low) : -1;
        if (segment >= 0 && segment == airfoil.GetSegment(high))
        {
            solved = true;
            if (std::isnan(gLow))
                gLow = g(low);
            if (std::isnan(gHigh))
                gHigh = g(high);
            if (gLow <= 0.0f && gHigh > 0.0f)
            {
                const float root = low - gLow * (high - low) / (gHigh - gLow);
                if (std::isfinite(root))
                {
                    effective = std::clamp(root, low, high);
                    break;
                }
            }
        }
        const float x = 0.5f * (low + high);
        const float gx = g(x);
        if (gx > 0.0f)
        {
            high = x;
            gHigh = gx;
        }
        else
        {
            low = x;
            gLow = gx;
        }
    }
    if (std::isnan(effective))
        effective = 0.5f * (low + high);
    if (!std::isfinite(effective))
        effective = alpha;
    if (start != nullptr)
    {
        start->effective = effective;
        start->valid = true;
    }
    return effective;
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
                                  float maxControlLift, bool liftingLine, TInducedAngleStart* start)
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
        airfoil->GetCoefficients(InducedAngleOfAttack(alpha, dCl, inducedDenominator, *airfoil, start), cl, cd, cp);
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
