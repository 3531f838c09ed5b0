#include "model/CPropellerCalculator.h"

#include <cmath>

#include "core/Diagnostics.h"
#include "model/CAirfoil.h"

namespace
{
constexpr float kPi = 3.14159265f;
constexpr float kDegPerRad = 180.0f / kPi;
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
        const float r = width * static_cast<float>(i);
        m_circumference[i - 1] = 2.0f * kPi * r;
        m_bladeAngle[i - 1] = std::atan(m_pitch / m_circumference[i - 1]);
    }
}

void CPropellerCalculator::Invalidate()
{
    m_valid = false;
    m_airfoil = nullptr;
}

void CPropellerCalculator::Calc(float airSpeed, float revPerSecond, float& outThrust, float& outTorque,
                                std::string* trace) const
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
    float sumThrust = 0.0f;
    float sumTorque = 0.0f;
    for (int i = 1; i <= kSections; ++i)
    {
        const float r = width * static_cast<float>(i); // out to the tip, see the header
        const float beta = m_bladeAngle[i - 1];
        const float u = m_circumference[i - 1] * revPerSecond;
        const float gamma = std::atan(airSpeed / u);
        const float alpha = beta - gamma;
        float cl = 0.0f, cd = 0.0f, cp = 0.0f;
        m_airfoil->GetCoefficients(alpha, cl, cd, cp);
        const float q = (u * u + airSpeed * airSpeed) * m_chord * width * kHalfAirDensity;
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
    if (trace != nullptr)
        *trace += StringPrintf("fSumBladeForceThrust = \t%f\tfSumBladeTorqueDrag = \t%f\t",
                               static_cast<double>(outThrust), static_cast<double>(outTorque));
}
