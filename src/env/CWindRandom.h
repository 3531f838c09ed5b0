#pragma once
// The turbulence's random source: a small linear congruential generator with the value range
// of the C library's rand() (0..32767), our own so that a seed gives the same blobs on every
// platform and tests can replay a sequence.

#include <cstdint>

class CWindRandom
{
public:
    static constexpr int kMax = 32767;

    explicit CWindRandom(uint32_t seed = 1) : m_state(seed) {}

    void Seed(uint32_t seed) { m_state = seed; }

    // 0..kMax.
    int Next()
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) & 0x7fffu);
    }

    // Uniform in [0, 1) in steps of 0.001.
    float NextUnit() { return static_cast<float>(Next() * 1000 / (kMax + 1)) * 0.001f; }

    // Uniform in [-1, 1) in steps of 0.001.
    float NextSigned() { return static_cast<float>(Next() * 2000 / (kMax + 1) - 1000) * 0.001f; }

private:
    uint32_t m_state;
};
