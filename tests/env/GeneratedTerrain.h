#pragma once
// Terrains for the collision tests and benchmarks: a hilly grid whose cell sizes range from
// 0.15 m (several vertices within the 0.2 m touch distance) to 30 m, two triangles per cell,
// upward-facing; optionally followed by loose triangles scattered over it with vertices jittered
// around grid points, so that some pairs touch only nearly, and a few degenerate triangles.

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "core/CVector3.h"

namespace testterrain
{
struct CGenerator
{
    std::mt19937 random;
    explicit CGenerator(uint32_t seed) : random(seed) {}
    // Uniform in [lo, hi), the same on every platform (unlike std::uniform_real_distribution).
    double Uniform(double lo, double hi) { return lo + (hi - lo) * (random() / 4294967296.0); }
};

inline float HillHeight(double x, double z)
{
    return static_cast<float>(20.0 * std::sin(x / 50.0) * std::cos(z / 70.0) + 3.0 * std::sin(x / 7.0));
}

// Cell boundaries along one axis, centred on the origin.
inline std::vector<double> GridLines(int cells, CGenerator& generator)
{
    std::vector<double> lines(1, 0.0);
    for (int i = 0; i < cells; ++i)
        lines.push_back(lines.back() + 0.15 * std::pow(200.0, generator.Uniform(0.0, 1.0)));
    const double middle = lines.back() / 2.0;
    for (double& line : lines)
        line -= middle;
    return lines;
}

// A triangle list (three vertices per triangle) of 2 * cellsX * cellsZ grid triangles, then
// `scattered` loose ones, then, when asked, degenerate ones (repeated, collinear and
// non-finite vertices).
inline std::vector<CVector3> MakeTerrain(int cellsX, int cellsZ, int scattered, bool degenerate, uint32_t seed = 7)
{
    CGenerator generator(seed);
    const std::vector<double> xs = GridLines(cellsX, generator);
    const std::vector<double> zs = GridLines(cellsZ, generator);
    auto point = [&](int i, int j) {
        return CVector3(static_cast<float>(xs[i]), HillHeight(xs[i], zs[j]), static_cast<float>(zs[j]));
    };
    std::vector<CVector3> vertices;
    for (int j = 0; j < cellsZ; ++j)
        for (int i = 0; i < cellsX; ++i) {
            const CVector3 p00 = point(i, j), p10 = point(i + 1, j), p01 = point(i, j + 1), p11 = point(i + 1, j + 1);
            vertices.insert(vertices.end(), {p00, p01, p10, p10, p01, p11});
        }
    for (int k = 0; k < scattered; ++k) {
        const int i = static_cast<int>(generator.Uniform(0, cellsX + 1));
        const int j = static_cast<int>(generator.Uniform(0, cellsZ + 1));
        const CVector3 base = point(i, j);
        const double size = std::pow(10.0, generator.Uniform(-1.3, 0.7));
        auto jitter = [&](double amount) {
            return CVector3(static_cast<float>(generator.Uniform(-amount, amount)),
                            static_cast<float>(generator.Uniform(-amount, amount)),
                            static_cast<float>(generator.Uniform(-amount, amount)));
        };
        vertices.insert(vertices.end(), {base + jitter(0.3), base + jitter(size), base + jitter(size)});
    }
    if (degenerate) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        const CVector3 p = point(cellsX / 2, cellsZ / 2), q = point(cellsX / 2 + 1, cellsZ / 2);
        vertices.insert(vertices.end(), {p, p, p});                                   // a point
        vertices.insert(vertices.end(), {p, q, (p + q) * 0.5f});                      // a line
        vertices.insert(vertices.end(), {p, q, CVector3(nan, 0.0f, 0.0f)});           // undefined vertex
        vertices.insert(vertices.end(), {q, p, CVector3(inf, 0.0f, -inf)});           // vertex at infinity
        vertices.insert(vertices.end(), {p + CVector3(0, 0.1f, 0), q, p + CVector3(0, 5, 0)}); // vertical
    }
    return vertices;
}
} // namespace testterrain
