#include "env/CWind.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CProperty.h"
#include "env/CSlopeLift.h"

namespace
{
constexpr float kDegToRad = 3.14159265358979f / 180.0f;
constexpr float kMaxBlobSize = 55.0f; // m; s runs over [1, 55)
} // namespace

CWind::CWind(uint32_t seed) : m_random(seed), m_thermals(seed)
{
    m_settings.SetChangeCallback(&CWind::OnSettingsChanged, this);
    ApplySettings();
    ResetBlobs();
}

bool CWind::Create()
{
    // Values outside their ranges, or not numbers, are clamped and reported by the reading.
    m_settings.ReadFile(kFileName, "Wind");
    ApplySettings();
    const bool written = Save();
    ResetBlobs();
    return written;
}

void CWind::UpdateQuietWind()
{
    // A blob's weight is never negative nor undefined, so a blob of zero amplitude adds that
    // zero (sign included) wherever the point: the sum is the same everywhere.
    m_quietBlobs = true;
    m_quietWind = m_meanWind;
    for (const CWindBlob& blob : m_blobs)
    {
        m_quietBlobs = m_quietBlobs && blob.amplitude.IsZero();
        m_quietWind += blob.amplitude;
    }
}

void CWind::Update(const CVector3& bodyPosition, const CVector3& bodyForward, float frameTime)
{
    m_thermals.Advance(frameTime, m_meanWind, bodyPosition);
    if (++m_callCounter < kCallsPerChange)
        return;
    m_callCounter = 0;

    for (int n = 0; n < kBlobsPerChange; ++n)
    {
        const float s = 1.0f + (kMaxBlobSize - 1.0f) * m_random.NextUnit();
        // The draws fill the vectors from the last component to the first.
        CVector3 r;
        r.z = m_random.NextSigned();
        r.y = m_random.NextSigned();
        r.x = m_random.NextSigned();
        const float f = m_random.NextUnit();
        CVector3 o;
        o.z = m_random.NextSigned();
        o.y = m_random.NextSigned();
        o.x = m_random.NextSigned();

        CWindBlob& blob = m_blobs[m_ringIndex];
        blob.amplitude = (m_meanWind * f + r * 0.5f) * (s / kMaxBlobSize) * m_strength;
        blob.centre = bodyPosition + bodyForward * (s + 1.0f) + o * (0.1f * s);
        blob.radius = s * s;
        m_ringIndex = (m_ringIndex + 1) % kBlobCount;
    }
    UpdateQuietWind();
}

void CWind::ApplySettings()
{
    const float h = m_settings.heading * kDegToRad;
    const float p = m_settings.pitch * kDegToRad;
    m_meanWind = CVector3(std::sin(h) * std::cos(p), std::sin(p), -std::cos(h) * std::cos(p)) * m_settings.velocity;
    m_strength = m_settings.turbulence;
    UpdateQuietWind();
    // The dialog keeps the values in range; a caller's own values are clamped here, unsaved.
    const auto clamp = [](float value, int key, float fallback) {
        const CPropertySet_Wind::TRange& range = CPropertySet_Wind::kThermalRanges[key];
        return std::isfinite(value) ? std::clamp(value, range.low, range.high) : fallback;
    };
    TThermalSettings thermals;
    thermals.strength = clamp(m_settings.thermalStrength, 0, 0.0f);
    thermals.radius = clamp(m_settings.thermalRadius, 1, CPropertySet_Wind::kDefaultThermalRadius);
    thermals.density = clamp(m_settings.thermalDensity, 2, 0.0f);
    thermals.lifetime = clamp(m_settings.thermalLifetime, 3, CPropertySet_Wind::kDefaultThermalLifetime);
    m_thermals.Configure(thermals);
}

bool CWind::Save() const
{
    // WriteFile reports its own failures with the path.
    return m_settings.WriteFile(kFileName);
}

void CWind::ResetBlobs()
{
    for (int k = 0; k < kBlobCount; ++k)
    {
        m_blobs[k].amplitude = CVector3(0.1f * static_cast<float>(k - 3), 0.0f, 0.05f * static_cast<float>(k));
        m_blobs[k].centre = CVector3(0.5f * static_cast<float>(k), 0.0f, 0.0f);
        m_blobs[k].radius = 2.0f;
    }
    UpdateQuietWind();
}

void CWind::OnSettingsChanged(void* context)
{
    static_cast<CWind*>(context)->ApplySettings();
}
