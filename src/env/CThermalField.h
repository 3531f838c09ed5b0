#pragma once
// Thermals: columns of rising air that are born at seeded random places, drift with the mean
// wind, live a while and die.
//
// Each thermal is a function of the seed and the time only, so the same seed gives the same
// thermals in every run, whatever queried the air in between:
//   - the world is tiled by squares of kTileSize; slot k of N = DENSITY * tile area thermals
//     lives in every tile at the same place (the air repeats every 4 km, far beyond where a
//     model is flown, so no region is ever without thermals);
//   - slot k runs through lives of LIFETIME seconds, offset by a seeded phase; life c of slot k
//     is born at a place hashed from (seed, k, c) and drifts from there with the horizontal
//     mean wind (the wind's path summed over the frames, so a change of wind turns the drift
//     without moving the thermals already there);
//   - its strength rises and falls smoothly over the first and last kRampFraction of its life.
//
// Vertical air at horizontal distance r from a thermal's centre, u = (r / RADIUS)^2:
//   w = STRENGTH * envelope * (1 - u) * exp(-u)
// an updraft core of STRENGTH m/s inside RADIUS and a ring of sink outside it (deepest, -13.5 %,
// at 1.41 RADIUS). The integral of (1 - u) exp(-u) over the plane is zero, so a thermal moves
// no net air; it is cut at 3 RADIUS where what is left is below 0.1 % of the core. Between
// thermals the air sinks gently (kBackgroundSink * STRENGTH). Near the ground the air cannot
// rise: everything fades in over the first tens of metres and fades out again towards the
// cloud base.

#include <cstdint>
#include <vector>

#include "core/CVector3.h"

// What the pilot sets (Weather.txt): strength 0 switches the thermals off.
struct TThermalSettings
{
    float strength = 1.5f;   // m/s, updraft at the core of a thermal in its prime
    float radius = 40.0f;    // m, radius of the core (where the updraft turns to sink)
    float density = 2.0f;    // thermals per km^2
    float lifetime = 300.0f; // s
};

class CThermalField
{
public:
    static constexpr float kTileSize = 4000.0f;        // m, the thermal pattern repeats this often
    static constexpr float kRampFraction = 0.15f;      // of the life spent growing and again dying
    static constexpr float kCutRadii = 3.0f;           // a thermal reaches 3 radii
    static constexpr float kBackgroundSink = 0.04f;    // sink between thermals, share of STRENGTH
    static constexpr float kGroundFadeHeight = 25.0f;  // m, e-folding height of the fade-in
    static constexpr float kCloudBase = 1200.0f;       // m above the ground: thermals end here
    static constexpr float kCloudFade = 400.0f;        // m below the cloud base they weaken over
    static constexpr float kFocusReach = 300.0f;       // m: a model moves far less in a frame

    // One thermal as it is now, for the air query and for drawing.
    struct TThermal
    {
        float x = 0.0f, z = 0.0f; // world, m: centre of the column
        float strength = 0.0f;    // m/s at the core, the envelope applied
        float age = 0.0f;         // s since its birth
    };

    explicit CThermalField(uint32_t seed = 1) : m_seed(seed) {}

    // Takes the settings (assumed within their ranges) and recomputes the thermals for the
    // current time.
    void Configure(const TThermalSettings& settings);
    const TThermalSettings& GetSettings() const { return m_settings; }
    bool IsOn() const { return m_settings.strength > 0.0f && m_settings.density > 0.0f; }

    // A new seed and the clock back to 0.
    void Seed(uint32_t seed);
    // Advances the clock by frameTime (s); meanWind: world, m/s, its horizontal part carries the
    // thermals. focus: world, m, where the air will be asked for most (the model): the thermals
    // that can reach kFocusReach around it are listed apart, so that those queries skip the rest.
    void Advance(float frameTime, const CVector3& meanWind, const CVector3& focus = CVector3());
    double GetTime() const { return m_time; }

    // Vertical air (m/s, up positive) at world (x, z) and heightAboveGround m.
    float VerticalAt(float x, float z, float heightAboveGround) const;

    // The thermals alive now, in the tile around the origin.
    const std::vector<TThermal>& GetThermals() const { return m_thermals; }

private:
    void Recompute();

    // What a slot remembers of its current life: where the wind's path stood at its birth.
    struct TSlot
    {
        int64_t life = INT64_MIN; // none yet
        double driftX = 0.0, driftZ = 0.0; // m
    };

    TThermalSettings m_settings{0.0f, 40.0f, 2.0f, 300.0f}; // off until configured
    uint32_t m_seed;
    double m_time = 0.0;       // s since the seed
    CVector3 m_meanWind;       // world, m/s, last given
    double m_driftX = 0.0;     // m, the horizontal wind's path since the seed
    double m_driftZ = 0.0;
    std::vector<TSlot> m_slots;
    std::vector<TThermal> m_thermals;
    CVector3 m_focus;                // world, m
    std::vector<TThermal> m_near;    // the thermals that reach within kFocusReach of m_focus
};
