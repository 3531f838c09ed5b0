#include "model/CPropellerCalculator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Diagnostics.h"
#include "model/CAirfoil.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kDegPerRad = 180.0f / kPi;

bool SameBits(float a, float b)
{
    std::uint32_t x = 0, y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}
} // namespace

void CPropellerCalculator::Setup(const CAirfoil* airfoil, int blades, float diameter, float pitch,
                                 float chordToDiameterRatio)
{
    m_airfoil = airfoil;
    m_blades = blades;
    m_diameter = diameter;
    m_pitch = pitch;
    m_chordToDiameterRatio = chordToDiameterRatio;
    m_chord = chordToDiameterRatio * diameter;
    m_radius = 0.5f * diameter;
    m_diskArea = kPi * m_radius * m_radius;
    // A non-finite or non-positive diameter would make every section sit at r = 0 (atan of an
    // infinite blade angle) and the slipstream divide by a zero disk area.
    m_valid = airfoil != nullptr && blades > 0 && std::isfinite(diameter) && diameter > 0.0f &&
              std::isfinite(pitch) && std::isfinite(m_chord);
    const float width = 0.05f * m_diameter;
    for (int i = 1; i <= kSections && m_valid; ++i)
    {
        const float r = width * (static_cast<float>(i) - 0.5f);
        m_circumference[i - 1] = 2.0f * kPi * r;
        m_bladeAngle[i - 1] = std::atan(m_pitch / m_circumference[i - 1]);
    }
    m_tipFactor = kPi * m_diameter;
    BuildTable();
}

void CPropellerCalculator::BuildTable()
{
    m_table.clear();
    if (!m_valid || !(m_tipFactor > 0.0f))
        return;
    // Any scale gives the same row: sampled at s = 30 m/s, or at 1 rev/s where that would turn
    // slower; the last row (x = 1, n = 0) is taken just short of it, where the sum still turns.
    constexpr float kSampleSpeed = 30.0f;   // m/s
    constexpr float kSlowestSample = 1.0f;  // rev/s
    m_table.resize(kTableRows);
    for (int row = 0; row < kTableRows; ++row)
    {
        const float x = std::min(static_cast<float>(row) / static_cast<float>(kTableRows - 1), 0.9999f);
        const float s = std::max(kSampleSpeed, kSlowestSample * m_tipFactor / (1.0f - x));
        const float airSpeed = x * s;
        const float revPerSecond = (1.0f - x) * s / m_tipFactor;
        float thrust = 0.0f, torque = 0.0f;
        CalcBladeElements(airSpeed, revPerSecond, thrust, torque);
        const float sampled = airSpeed + revPerSecond * m_tipFactor;
        m_table[static_cast<size_t>(row)] = {thrust / (sampled * sampled), torque / (sampled * sampled)};
    }
}

void CPropellerCalculator::Invalidate()
{
    m_valid = false;
    m_airfoil = nullptr;
    m_table.clear();
}

void CPropellerCalculator::Calc(float airSpeed, float revPerSecond, float& outThrust, float& outTorque,
                                std::string* trace) const
{
    if (trace != nullptr || m_table.empty() || !(airSpeed >= 0.0f) || !std::isfinite(airSpeed) ||
        !std::isfinite(revPerSecond))
    {
        CalcBladeElements(airSpeed, revPerSecond, outThrust, outTorque, trace);
        return;
    }
    outThrust = 0.0f;
    outTorque = 0.0f;
    if (!(revPerSecond > kMinSpeed))
        return;
    const float s = airSpeed + revPerSecond * m_tipFactor; // m/s, > 0
    const float at = airSpeed / s * static_cast<float>(kTableRows - 1);
    const int row = std::min(static_cast<int>(at), kTableRows - 2);
    const float t = at - static_cast<float>(row);
    const TTableRow& a = m_table[static_cast<size_t>(row)];
    const TTableRow& b = m_table[static_cast<size_t>(row) + 1];
    const float s2 = s * s;
    outThrust = s2 * (a.thrust + t * (b.thrust - a.thrust));
    outTorque = s2 * (a.torque + t * (b.torque - a.torque));
}

void CPropellerCalculator::CalcBladeElements(float airSpeed, float revPerSecond, float& outThrust,
                                             float& outTorque, std::string* trace) const
{
    outThrust = 0.0f;
    outTorque = 0.0f;
    if (!m_valid || !(revPerSecond > kMinSpeed))
        return;

    const float width = 0.05f * m_diameter; // b, m
    if (trace != nullptr)
    {
        *trace += "Propeller data";
        *trace += StringPrintf("nNumberOfSections = \t%i\tfSectionWidth = \t%f\t", kSections,
                               static_cast<double>(width));
    }
    // The blades push the air they work on: momentum theory adds the induced speed vi to the
    // axial inflow, T = 2 rho A (V + vi) vi. Without it the sum gives more static thrust than
    // the shaft power can make (a figure of merit above 1). Solved by relaxed fixed-point
    // steps from vi = 0; a propeller that brakes (T <= 0) gets no induced speed.
    // The sum is a pure function of the axial speed: where a step leaves that speed unchanged
    // to the bit (a braking propeller stays at vi = 0), the last sum is reused.
    float induced = 0.0f; // m/s
    float thrust = 0.0f, torque = 0.0f;
    bool summed = false;
    float summedAt = 0.0f; // axial speed of thrust and torque, m/s
    const auto sumAt = [&](float axialSpeed, std::string* sectionTrace) {
        if (summed && sectionTrace == nullptr && SameBits(axialSpeed, summedAt))
            return;
        SumSections(axialSpeed, revPerSecond, thrust, torque, sectionTrace);
        summed = true;
        summedAt = axialSpeed;
    };
    for (int k = 0; k < kInflowIterations; ++k)
    {
        sumAt(airSpeed + induced, nullptr);
        const float target = thrust > 0.0f && m_diskArea > 0.0f
                                 ? kInducedPowerFactor * (-0.5f * airSpeed +
                                                          std::sqrt(0.25f * airSpeed * airSpeed +
                                                                    thrust / (2.0f * kAirDensity * m_diskArea)))
                                 : 0.0f;
        induced = std::isfinite(target) ? 0.5f * (induced + std::max(target, 0.0f)) : 0.0f;
    }
    sumAt(airSpeed + induced, trace);
    outThrust = thrust;
    outTorque = torque;
    if (trace != nullptr)
        *trace += StringPrintf("fSumBladeForceThrust = \t%f\tfSumBladeTorqueDrag = \t%f\t",
                               static_cast<double>(outThrust), static_cast<double>(outTorque));
}

void CPropellerCalculator::SumSections(float axialSpeed, float revPerSecond, float& outThrust, float& outTorque,
                                       std::string* trace) const
{
    const float width = 0.05f * m_diameter; // b, m
    float sumThrust = 0.0f;
    float sumTorque = 0.0f;
    for (int i = 1; i <= kSections; ++i)
    {
        const float r = width * (static_cast<float>(i) - 0.5f); // section centre, see the header
        const float beta = m_bladeAngle[i - 1];
        const float u = m_circumference[i - 1] * revPerSecond;
        const float gamma = std::atan(axialSpeed / u);
        const float alpha = beta - gamma;
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        m_airfoil->GetCoefficients(alpha, cl, cd, cp);
        const float q = (u * u + axialSpeed * axialSpeed) * m_chord * width * kHalfAirDensity;
        const float lift = q * cl;
        const float drag = q * cd;
        const float cosGamma = std::cos(gamma);
        const float sinGamma = std::sin(gamma);
        const float thrust = lift * cosGamma - drag * sinGamma;
        const float force = lift * sinGamma + drag * cosGamma;
        const float torque = force * r;
        sumThrust += thrust;
        sumTorque += torque;
        if (trace != nullptr)
        {
            *trace += StringPrintf("Section %i\t", i);
            *trace += StringPrintf(
                "fBeta_r = \t%f\tfVelRot_r = \t%f\tfGamma_r = \t%f\tfAlpha_r = \t%f\tfCl_r = \t%f\tfCd_r = \t%f\t"
                "fForceThrust_PerpendicularToVel = \t%f\tfForceDrag_ParallelToVel = \t%f\tfForceThrust = \t%f\t"
                "fForceDrag = \t%f\tfTorqueDrag = \t%f\t",
                static_cast<double>(beta * kDegPerRad), static_cast<double>(u),
                static_cast<double>(gamma * kDegPerRad), static_cast<double>(alpha * kDegPerRad),
                static_cast<double>(cl), static_cast<double>(cd), static_cast<double>(lift),
                static_cast<double>(drag), static_cast<double>(thrust), static_cast<double>(force),
                static_cast<double>(torque));
        }
    }
    outThrust = static_cast<float>(m_blades) * sumThrust;
    outTorque = static_cast<float>(m_blades) * sumTorque;
}
