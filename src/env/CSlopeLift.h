#pragma once
// Slope lift: the mean wind follows the terrain. Where it blows up a slope the air near the
// ground rises, where it blows down one (the lee) it sinks:
//   w = (M.x * dh/dx + M.z * dh/dz) * exp(-heightAboveGround / L)
// with M the mean wind (world, m/s), h the terrain smoothed over kSmoothRadius (a model feels
// the hill, not each triangle) and L the local relief (highest minus lowest ground within
// kReliefRadius, at least kMinScale): the lift of a small bank dies out a few metres up, that
// of a 100 m ridge reaches well above its crest.
//
// The flight asks this for every wing section in every sub-step, so everything is precomputed
// once when the site loads: the collision mesh is rasterised onto a grid of kCellSize cells
// around the origin (heights straight from the triangles' planes), smoothed, differentiated and
// measured for relief. A query is one bilinear look-up and one exp.

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/CVector3.h"

class CCollisionMesh;

class CSlopeLift
{
public:
    static constexpr float kCellSize = 10.0f;      // m
    static constexpr int kMaxCells = 512;          // per axis: the grid covers at most 5.12 km
    static constexpr float kSmoothRadius = 30.0f;  // m, half width of the slope's averaging
    static constexpr float kReliefRadius = 200.0f; // m
    static constexpr float kMinScale = 10.0f;      // m, shortest fading height

    // Rasterises the mesh (its bounds, cut to kMaxCells around the origin). An empty mesh gives
    // no lift anywhere.
    void Build(const CCollisionMesh& mesh);
    void Clear();
    bool IsEmpty() const { return m_cells.empty(); }

    // Vertical air (m/s, up positive) at a world point for the mean wind (world, m/s); 0
    // outside the grid.
    float VerticalAt(const CVector3& worldPoint, const CVector3& meanWind) const;
    // Terrain height (m) under (x, z) as the grid holds it; false outside the grid.
    bool GroundHeight(float x, float z, float& outHeight) const;
    // Both at once, with one look-up (the wind asks for both at every wing section): the
    // vertical air as VerticalAt gives it (without outGround, still air answers +0 at once,
    // whatever the sign of VerticalAt's zero) and, when outGround is given, the ground height
    // as GroundHeight gives it, 0 outside the grid.
    float VerticalAndGround(const CVector3& worldPoint, const CVector3& meanWind, float* outGround) const;

private:
    struct TCell
    {
        float height = 0.0f; // m, from the triangles
        float slopeX = 0.0f; // dh/dx of the smoothed terrain
        float slopeZ = 0.0f; // dh/dz
        float scale = kMinScale; // m, fading height of the lift
    };
    // Bilinear weights of (x, z); false outside the grid.
    bool Locate(float x, float z, int& outI, int& outJ, float& outFx, float& outFz) const;
    const TCell& Cell(int i, int j) const { return m_cells[static_cast<size_t>(j) * m_countX + i]; }
    float GroundAt(int i, int j, float fx, float fz) const;
    float VerticalAt(int i, int j, float fx, float fz, const CVector3& worldPoint, const CVector3& meanWind) const;

    std::vector<TCell> m_cells; // row by row along x, rows along z
    int m_countX = 0;
    int m_countZ = 0;
    float m_originX = 0.0f; // m, world x of cell column 0
    float m_originZ = 0.0f;
};

// Inline: the wind asks at every wing section in every sub-step.
inline bool CSlopeLift::Locate(float x, float z, int& outI, int& outJ, float& outFx, float& outFz) const
{
    if (m_cells.empty())
        return false;
    const float gx = (x - m_originX) / kCellSize;
    const float gz = (z - m_originZ) / kCellSize;
    if (!(gx >= 0.0f && gz >= 0.0f && gx <= static_cast<float>(m_countX - 1) && gz <= static_cast<float>(m_countZ - 1)))
        return false;
    outI = std::min(static_cast<int>(gx), m_countX - 2);
    outJ = std::min(static_cast<int>(gz), m_countZ - 2);
    outFx = gx - static_cast<float>(outI);
    outFz = gz - static_cast<float>(outJ);
    return m_countX >= 2 && m_countZ >= 2;
}

inline float CSlopeLift::GroundAt(int i, int j, float fx, float fz) const
{
    const float h0 = Cell(i, j).height + (Cell(i + 1, j).height - Cell(i, j).height) * fx;
    const float h1 = Cell(i, j + 1).height + (Cell(i + 1, j + 1).height - Cell(i, j + 1).height) * fx;
    return h0 + (h1 - h0) * fz;
}

inline float CSlopeLift::VerticalAt(int i, int j, float fx, float fz, const CVector3& worldPoint,
                             const CVector3& meanWind) const
{
    const TCell* c[4] = {&Cell(i, j), &Cell(i + 1, j), &Cell(i, j + 1), &Cell(i + 1, j + 1)};
    const float w[4] = {(1 - fx) * (1 - fz), fx * (1 - fz), (1 - fx) * fz, fx * fz};
    float slopeX = 0.0f, slopeZ = 0.0f;
    for (int k = 0; k < 4; ++k)
    {
        slopeX += w[k] * c[k]->slopeX;
        slopeZ += w[k] * c[k]->slopeZ;
    }
    const float along = meanWind.x * slopeX + meanWind.z * slopeZ;
    // Still air (or wind along the contour): the fading factor below lies in [0, 1], so the
    // product is this zero, sign included.
    if (along == 0.0f)
        return along;
    float height = 0.0f, scale = 0.0f;
    for (int k = 0; k < 4; ++k)
    {
        height += w[k] * c[k]->height;
        scale += w[k] * c[k]->scale;
    }
    const float above = std::max(0.0f, worldPoint.y - height);
    return along * std::exp(-above / scale);
}

inline float CSlopeLift::VerticalAndGround(const CVector3& worldPoint, const CVector3& meanWind, float* outGround) const
{
    // Still air lifts nothing anywhere (VerticalAt's zero may carry a sign; it adds nothing).
    if (outGround == nullptr && meanWind.x == 0.0f && meanWind.z == 0.0f)
        return 0.0f;
    int i = 0, j = 0;
    float fx = 0.0f, fz = 0.0f;
    if (!Locate(worldPoint.x, worldPoint.z, i, j, fx, fz))
    {
        if (outGround != nullptr)
            *outGround = 0.0f;
        return 0.0f;
    }
    if (outGround != nullptr)
        *outGround = GroundAt(i, j, fx, fz);
    return VerticalAt(i, j, fx, fz, worldPoint, meanWind);
}
