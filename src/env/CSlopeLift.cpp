#include "env/CSlopeLift.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "env/CCollisionMesh.h"

namespace
{
// Box average of `values` (countX by countZ) over +-radius cells along one axis; three passes
// make it nearly Gaussian.
void BoxBlur(std::vector<float>& values, int countX, int countZ, int radius, bool alongX)
{
    std::vector<float> line;
    const int outer = alongX ? countZ : countX;
    const int inner = alongX ? countX : countZ;
    for (int o = 0; o < outer; ++o)
    {
        const auto at = [&](int k) -> float& {
            return alongX ? values[static_cast<size_t>(o) * countX + k] : values[static_cast<size_t>(k) * countX + o];
        };
        line.assign(static_cast<size_t>(inner), 0.0f);
        for (int k = 0; k < inner; ++k)
            line[k] = at(k);
        double sum = 0.0;
        // Edges repeat the last value, so the rim of the grid has no invented slope.
        const auto sample = [&](int k) { return static_cast<double>(line[std::clamp(k, 0, inner - 1)]); };
        for (int k = -radius; k <= radius; ++k)
            sum += sample(k);
        for (int k = 0; k < inner; ++k)
        {
            at(k) = static_cast<float>(sum / (2 * radius + 1));
            sum += sample(k + radius + 1) - sample(k - radius);
        }
    }
}
} // namespace

void CSlopeLift::Clear()
{
    m_cells.clear();
    m_countX = m_countZ = 0;
}

void CSlopeLift::Build(const CCollisionMesh& mesh)
{
    Clear();
    if (mesh.GetTriangleCount() == 0)
        return;
    float minX = std::numeric_limits<float>::max(), maxX = -minX, minZ = minX, maxZ = -minX;
    for (const CColTriangle& t : mesh.GetTriangles())
        for (const CVector3* v : {&t.a, &t.b, &t.c})
        {
            minX = std::min(minX, v->x);
            maxX = std::max(maxX, v->x);
            minZ = std::min(minZ, v->z);
            maxZ = std::max(maxZ, v->z);
        }
    const float half = 0.5f * kCellSize * static_cast<float>(kMaxCells - 1);
    minX = std::max(minX, -half);
    minZ = std::max(minZ, -half);
    maxX = std::min(maxX, half);
    maxZ = std::min(maxZ, half);
    if (!(maxX > minX && maxZ > minZ))
        return;
    m_originX = std::floor(minX / kCellSize) * kCellSize;
    m_originZ = std::floor(minZ / kCellSize) * kCellSize;
    m_countX = std::min(kMaxCells, static_cast<int>(std::ceil((maxX - m_originX) / kCellSize)) + 1);
    m_countZ = std::min(kMaxCells, static_cast<int>(std::ceil((maxZ - m_originZ) / kCellSize)) + 1);
    const size_t total = static_cast<size_t>(m_countX) * m_countZ;

    // Heights: each triangle sets the grid points it covers (a point outside every triangle
    // stays at 0, as the height query answers there).
    std::vector<float> height(total, 0.0f);
    for (const CColTriangle& t : mesh.GetTriangles())
    {
        const float x0 = std::min({t.a.x, t.b.x, t.c.x}), x1 = std::max({t.a.x, t.b.x, t.c.x});
        const float z0 = std::min({t.a.z, t.b.z, t.c.z}), z1 = std::max({t.a.z, t.b.z, t.c.z});
        const int i0 = std::max(0, static_cast<int>(std::ceil((x0 - m_originX) / kCellSize)));
        const int i1 = std::min(m_countX - 1, static_cast<int>(std::floor((x1 - m_originX) / kCellSize)));
        const int j0 = std::max(0, static_cast<int>(std::ceil((z0 - m_originZ) / kCellSize)));
        const int j1 = std::min(m_countZ - 1, static_cast<int>(std::floor((z1 - m_originZ) / kCellSize)));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
            {
                float h = 0.0f;
                CVector3 normal;
                if (t.TestTriangle(m_originX + i * kCellSize, m_originZ + j * kCellSize, h, normal))
                    height[static_cast<size_t>(j) * m_countX + i] = h;
            }
    }

    std::vector<float> smooth = height;
    const int smoothCells = std::max(1, static_cast<int>(kSmoothRadius / kCellSize / 1.7f));
    for (int pass = 0; pass < 3; ++pass)
    {
        BoxBlur(smooth, m_countX, m_countZ, smoothCells, true);
        BoxBlur(smooth, m_countX, m_countZ, smoothCells, false);
    }

    // Relief: highest minus lowest ground in blocks, then over the blocks within reach.
    const int block = 8;
    const int blocksX = (m_countX + block - 1) / block, blocksZ = (m_countZ + block - 1) / block;
    std::vector<float> blockMin(static_cast<size_t>(blocksX) * blocksZ, std::numeric_limits<float>::max());
    std::vector<float> blockMax(blockMin.size(), -std::numeric_limits<float>::max());
    for (int j = 0; j < m_countZ; ++j)
        for (int i = 0; i < m_countX; ++i)
        {
            const size_t b = static_cast<size_t>(j / block) * blocksX + i / block;
            const float h = height[static_cast<size_t>(j) * m_countX + i];
            blockMin[b] = std::min(blockMin[b], h);
            blockMax[b] = std::max(blockMax[b], h);
        }
    const int reach = std::max(1, static_cast<int>(std::ceil(kReliefRadius / (block * kCellSize))));
    std::vector<float> relief(blockMin.size(), kMinScale);
    for (int bj = 0; bj < blocksZ; ++bj)
        for (int bi = 0; bi < blocksX; ++bi)
        {
            float lo = std::numeric_limits<float>::max(), hi = -lo;
            for (int j = std::max(0, bj - reach); j <= std::min(blocksZ - 1, bj + reach); ++j)
                for (int i = std::max(0, bi - reach); i <= std::min(blocksX - 1, bi + reach); ++i)
                {
                    lo = std::min(lo, blockMin[static_cast<size_t>(j) * blocksX + i]);
                    hi = std::max(hi, blockMax[static_cast<size_t>(j) * blocksX + i]);
                }
            relief[static_cast<size_t>(bj) * blocksX + bi] = std::max(kMinScale, hi - lo);
        }

    m_cells.resize(total);
    const float inv2Cell = 1.0f / (2.0f * kCellSize);
    for (int j = 0; j < m_countZ; ++j)
        for (int i = 0; i < m_countX; ++i)
        {
            const auto s = [&](int ii, int jj) {
                return smooth[static_cast<size_t>(std::clamp(jj, 0, m_countZ - 1)) * m_countX +
                              std::clamp(ii, 0, m_countX - 1)];
            };
            TCell& cell = m_cells[static_cast<size_t>(j) * m_countX + i];
            cell.height = height[static_cast<size_t>(j) * m_countX + i];
            cell.slopeX = (s(i + 1, j) - s(i - 1, j)) * inv2Cell;
            cell.slopeZ = (s(i, j + 1) - s(i, j - 1)) * inv2Cell;
            cell.scale = relief[static_cast<size_t>(j / block) * blocksX + i / block];
        }
    // The relief jumps from block to block; smoothed it fades the lift evenly.
    std::vector<float> scale(total);
    for (size_t k = 0; k < total; ++k)
        scale[k] = m_cells[k].scale;
    BoxBlur(scale, m_countX, m_countZ, block, true);
    BoxBlur(scale, m_countX, m_countZ, block, false);
    for (size_t k = 0; k < total; ++k)
        m_cells[k].scale = std::max(kMinScale, scale[k]);
}

bool CSlopeLift::GroundHeight(float x, float z, float& outHeight) const
{
    int i = 0, j = 0;
    float fx = 0.0f, fz = 0.0f;
    if (!Locate(x, z, i, j, fx, fz))
        return false;
    outHeight = GroundAt(i, j, fx, fz);
    return true;
}

float CSlopeLift::VerticalAt(const CVector3& worldPoint, const CVector3& meanWind) const
{
    int i = 0, j = 0;
    float fx = 0.0f, fz = 0.0f;
    if (!Locate(worldPoint.x, worldPoint.z, i, j, fx, fz))
        return 0.0f;
    return VerticalAt(i, j, fx, fz, worldPoint, meanWind);
}
