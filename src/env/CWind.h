#pragma once
// The weather of a flight: a steady mean wind set by the user and five moving blobs of
// disturbance that together make the turbulence.
//
// Mean wind M = VELOCITY * (sin h cos p, sin p, -cos h cos p), h = HEADING, p = PITCH: heading 0
// blows towards -z, the default 180 towards +z.
//
// A blob (A, C, rho) adds weight * A at a point p, weight = max(0, 1 - (|C - p|^2 + 1) / rho^2):
// 1 - 1/rho^2 at its centre and nothing from |C - p|^2 >= rho^2 - 1 outwards, so a blob with
// rho = 1 never contributes.
//
// Update, once per frame: every 7th call replaces three blobs, round the ring of five, each by
//   s = 1 + 54 u                    (u uniform in [0, 1), 0.001 steps: blob size 1..55 m)
//   R = 0.5 (r1, r2, r3)            (r uniform in [-1, 1), drawn r3, r2, r1)
//   f = u'                          (uniform in [0, 1))
//   A = (f M + R) * (s / 55) * TURBULENCE_STRENGTH
//   O = 0.1 s (o1, o2, o3)          (drawn o3, o2, o1)
//   C = body position + (s + 1) * forward + O
//   rho = s^2
// so big blobs are strong and placed far ahead of the model, small ones weak and close. The draw
// order and the 0.001 quantisation are part of the behaviour: a seed replays the same weather.
//
// Rising and sinking air come on top: the thermals (CThermalField, moved on by Update's frame
// time) and the slope lift of the flying site (CSlopeLift, when the site gives one). Both only
// add a vertical component, so the horizontal wind is what the pilot set.
//
// Settings live in Output/Weather.txt (the WIND property lines). Create reads it if it exists and
// writes it back, so a first run leaves a file with the defaults to edit. Values outside the
// dialog's ranges are taken as they stand; only values that are not numbers at all (nan, inf)
// fall back to their defaults, since they would turn the whole flight into nan.

#include <algorithm>
#include <cstdint>

#include "core/CVector3.h"
#include "env/CPropertySet_Wind.h"
#include "env/CSlopeLift.h"
#include "env/CThermalField.h"
#include "env/CWindRandom.h"

// One disturbance of the turbulence.
struct CWindBlob
{
    CVector3 amplitude;  // world, m/s: the velocity added at the centre (scaled by the weight)
    CVector3 centre;     // world, m
    float radius = 2.0f; // rho; the blob reaches sqrt(rho^2 - 1) m from its centre

    // The wind this blob adds at a world point (m/s). Inline: every wing segment asks for the
    // wind of every blob each sub-step.
    CVector3 At(const CVector3& worldPoint) const
    {
        const float q = (centre - worldPoint).LengthSquared();
        const float weight = std::max(0.0f, 1.0f - (q + 1.0f) / (radius * radius));
        return amplitude * weight;
    }
};

class CWind
{
public:
    static constexpr int kBlobCount = 5;
    static constexpr int kBlobsPerChange = 3;
    static constexpr int kCallsPerChange = 7; // the blobs change on every 7th Update
    static constexpr const char* kFileName = "Weather.txt"; // in the output folder

    // Defaults and the initial blobs; no file access (see Create).
    explicit CWind(uint32_t seed = 1);
    CWind(const CWind&) = delete;
    CWind& operator=(const CWind&) = delete;

    // Reads Output/Weather.txt when it exists (a missing file leaves the defaults), applies the
    // settings, writes the file back and sets the initial blobs. Returns whether the file was
    // written; the wind works either way.
    bool Create();

    // Mean wind plus every blob's contribution plus the rising air (world, m/s).
    CVector3 GetWindAt(const CVector3& worldPoint) const;
    // The thermals' and the slope's part of it alone (m/s, up positive).
    float GetVerticalAirAt(const CVector3& worldPoint) const;
    // The mean wind without turbulence (world, m/s): what the model's air data are computed
    // against.
    const CVector3& GetMeanWind() const { return m_meanWind; }

    // The per-frame update: turbulence and thermals. bodyPosition: world, m; bodyForward: the
    // body's forward axis in world axes (the negated third row of its orientation), unit
    // length; frameTime: s, how far the thermals move on.
    void Update(const CVector3& bodyPosition, const CVector3& bodyForward, float frameTime);

    // Recomputes the mean wind and the strength from the property set. Also runs on every
    // property change, so the weather dialog's edits take effect at once.
    void ApplySettings();
    // Writes the settings to Output/Weather.txt; false (reported) when it cannot.
    bool Save() const;

    // The five blobs back to their start-up positions around the world origin.
    void ResetBlobs();
    // Seeds the turbulence and the thermals (whose clock restarts).
    void SeedRandom(uint32_t seed)
    {
        m_random.Seed(seed);
        m_thermals.Seed(seed);
    }

    // The flying site's slope lift; not owned (the site outlives its use here), null for none.
    void SetSlopeLift(const CSlopeLift* lift) { m_slopeLift = lift; }
    const CSlopeLift* GetSlopeLift() const { return m_slopeLift; }
    const CThermalField& GetThermals() const { return m_thermals; }

    CPropertySet_Wind& GetPropertySet() { return m_settings; }
    const CPropertySet_Wind& GetPropertySet() const { return m_settings; }
    float GetTurbulenceStrength() const { return m_strength; }
    // For the diagnostic drawing; index 0..kBlobCount-1.
    const CWindBlob& GetBlob(int index) const { return m_blobs[index]; }

private:
    static void OnSettingsChanged(void* context);
    // Recomputes m_quietBlobs and m_quietWind; after every change of the blobs or the mean wind.
    void UpdateQuietWind();

    CPropertySet_Wind m_settings;
    CVector3 m_meanWind;     // world, m/s
    float m_strength = 0.0f; // copy of TURBULENCE_STRENGTH
    CWindBlob m_blobs[kBlobCount];
    // Without turbulence every blob's amplitude is zero: the wind is then the same everywhere
    // but for the rising air, and the blobs need no asking.
    bool m_quietBlobs = false;
    CVector3 m_quietWind; // world, m/s: the mean wind plus the blobs' zero amplitudes
    // The wind lives as long as the flight process, so these two carry over from one flight to
    // the next, as the blob ring does.
    int m_ringIndex = 0;   // the blob the next change replaces, 0..kBlobCount-1
    int m_callCounter = 0; // Update calls since the last change
    CWindRandom m_random;
    CThermalField m_thermals;
    const CSlopeLift* m_slopeLift = nullptr;
};

// Inline: every wing section asks in every sub-step.
inline CVector3 CWind::GetWindAt(const CVector3& worldPoint) const
{
    CVector3 wind;
    if (m_quietBlobs)
        wind = m_quietWind;
    else
    {
        wind = m_meanWind;
        for (const CWindBlob& blob : m_blobs)
            wind += blob.At(worldPoint);
    }
    wind.y += GetVerticalAirAt(worldPoint);
    return wind;
}

inline float CWind::GetVerticalAirAt(const CVector3& worldPoint) const
{
    if (m_slopeLift == nullptr)
        return m_thermals.VerticalAt(worldPoint.x, worldPoint.z, worldPoint.y);
    // Without thermals the ground height is not needed: the field answers 0 wherever.
    if (m_thermals.GetThermals().empty())
        return 0.0f + m_slopeLift->VerticalAndGround(worldPoint, m_meanWind, nullptr);
    float ground = 0.0f;
    const float slope = m_slopeLift->VerticalAndGround(worldPoint, m_meanWind, &ground);
    return m_thermals.VerticalAt(worldPoint.x, worldPoint.z, worldPoint.y - ground) + slope;
}
