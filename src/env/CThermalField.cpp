#include "env/CThermalField.h"

#include <algorithm>
#include <cmath>

namespace
{
// splitmix64: a well-mixed 64-bit hash, so neighbouring slots and lives are unrelated.
uint64_t Mix(uint64_t value)
{
    value += 0x9e3779b97f4a7c15ull;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

// Uniform in [0, 1) from (seed, slot, life, draw).
double Unit(uint32_t seed, int slot, int64_t life, int draw)
{
    uint64_t h = Mix(seed);
    h = Mix(h ^ static_cast<uint64_t>(slot));
    h = Mix(h ^ static_cast<uint64_t>(life));
    h = Mix(h ^ static_cast<uint64_t>(draw));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

// 0 .. 1 .. 0 over a life, smooth at both ends.
float Envelope(double ageFraction)
{
    const double ramp = CThermalField::kRampFraction;
    const double edge = std::min(ageFraction, 1.0 - ageFraction) / ramp;
    if (edge >= 1.0)
        return 1.0f;
    const double s = std::max(0.0, edge);
    return static_cast<float>(s * s * (3.0 - 2.0 * s));
}

// Wraps a distance (m) into [-tile/2, tile/2).
float Wrap(float d)
{
    constexpr float half = 0.5f * CThermalField::kTileSize;
    if (d >= -half && d < half)
        return d; // nearly always: positions are kept within the tile around the origin
    return d - CThermalField::kTileSize * std::floor(d / CThermalField::kTileSize + 0.5f);
}
} // namespace

void CThermalField::Configure(const TThermalSettings& settings)
{
    m_settings = settings;
    Recompute();
}

void CThermalField::Seed(uint32_t seed)
{
    m_seed = seed;
    m_time = 0.0;
    m_driftX = m_driftZ = 0.0;
    m_slots.clear();
    Recompute();
}

void CThermalField::Advance(float frameTime, const CVector3& meanWind, const CVector3& focus)
{
    m_focus = focus;
    const double dt = std::max(0.0f, frameTime);
    m_time += dt;
    m_meanWind = meanWind;
    m_driftX += meanWind.x * dt;
    m_driftZ += meanWind.z * dt;
    Recompute();
}

void CThermalField::Recompute()
{
    m_thermals.clear();
    m_near.clear();
    if (!IsOn())
        return;
    const double tileKm2 = (kTileSize / 1000.0) * (kTileSize / 1000.0);
    const int count = static_cast<int>(std::lround(m_settings.density * tileKm2));
    m_slots.resize(static_cast<size_t>(count));
    const double lifetime = std::max(1.0f, m_settings.lifetime);
    for (int slot = 0; slot < count; ++slot)
    {
        // The phase spreads the births, so thermals do not all die at once.
        const double phase = Unit(m_seed, slot, -1, 0) * lifetime;
        const double lived = (m_time + phase) / lifetime;
        const auto life = static_cast<int64_t>(std::floor(lived));
        const double age = (lived - static_cast<double>(life)) * lifetime; // s since its birth
        TSlot& memory = m_slots[static_cast<size_t>(slot)];
        if (memory.life != life)
        {
            // Born since the last frame (or first seen): the drift is counted from its birth.
            memory.life = life;
            memory.driftX = m_driftX - m_meanWind.x * age;
            memory.driftZ = m_driftZ - m_meanWind.z * age;
        }
        TThermal thermal;
        thermal.strength = m_settings.strength * Envelope(age / lifetime);
        thermal.age = static_cast<float>(age);
        if (thermal.strength <= 0.0f)
            continue;
        const double bornX = (Unit(m_seed, slot, life, 1) - 0.5) * kTileSize;
        const double bornZ = (Unit(m_seed, slot, life, 2) - 0.5) * kTileSize;
        thermal.x = Wrap(static_cast<float>(bornX + m_driftX - memory.driftX));
        thermal.z = Wrap(static_cast<float>(bornZ + m_driftZ - memory.driftZ));
        m_thermals.push_back(thermal);
    }
    m_near.clear();
    const float reach = kFocusReach + kCutRadii * m_settings.radius;
    for (const TThermal& thermal : m_thermals)
    {
        const float dx = Wrap(m_focus.x - thermal.x), dz = Wrap(m_focus.z - thermal.z);
        if (dx * dx + dz * dz < reach * reach)
            m_near.push_back(thermal);
    }
}

float CThermalField::VerticalAt(float x, float z, float heightAboveGround) const
{
    if (m_thermals.empty())
        return 0.0f;
    const float h = std::max(0.0f, heightAboveGround);
    float height = 1.0f - std::exp(-h / kGroundFadeHeight);
    if (h > kCloudBase - kCloudFade)
        height *= std::max(0.0f, (kCloudBase - h) / kCloudFade);
    if (height <= 0.0f)
        return 0.0f;

    const float invRadiusSq = 1.0f / (m_settings.radius * m_settings.radius);
    const float cutSq = kCutRadii * kCutRadii;
    float w = -kBackgroundSink * m_settings.strength;
    const float fx = Wrap(x - m_focus.x), fz = Wrap(z - m_focus.z);
    const bool nearFocus = fx * fx + fz * fz < kFocusReach * kFocusReach;
    for (const TThermal& thermal : nearFocus ? m_near : m_thermals)
    {
        const float dx = Wrap(x - thermal.x);
        const float dz = Wrap(z - thermal.z);
        const float u = (dx * dx + dz * dz) * invRadiusSq;
        if (u < cutSq)
            w += thermal.strength * (1.0f - u) * std::exp(-u);
    }
    return w * height;
}
