#include "env/CCollisionMesh.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "core/Diagnostics.h"

namespace
{
// Not-found mark of the height search; never returned.
constexpr float kHeightNotFound = -1000.0f;

// The console lines of the neighbour search. The running count comes every 100 pairs, but at
// most once a second: a large terrain has hundreds of thousands of pairs.
class CNeighbourProgress
{
public:
    CNeighbourProgress() : m_start(Clock::now()), m_lastPrint(m_start) {}

    void AddPair()
    {
        ++m_pairs;
        if (m_pairs % 100 != 0)
            return;
        const Clock::time_point now = Clock::now();
        if (now - m_lastPrint < std::chrono::seconds(1))
            return;
        m_lastPrint = now;
        DiagPrint("Computing neighbours: %i\n", m_pairs);
    }

    void Finish() const
    {
        const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
        DiagPrint("Total number of neighbours: %i\n", m_pairs);
        DiagPrint("Neighbour Computing Time: %f seconds\n", seconds);
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_start;
    Clock::time_point m_lastPrint;
    int m_pairs = 0;
};

// Grid of the vertices for the neighbour search. Cells are 1 m cubes; a vertex looks in the
// cells its 0.25 m surroundings overlap (0.2 m plus a margin for rounding), usually one or two
// per axis.
class CVertexGrid
{
public:
    explicit CVertexGrid(const std::vector<CColTriangle>& triangles)
    {
        const size_t vertexCount = triangles.size() * 3;
        m_positions.reserve(vertexCount);
        for (const CColTriangle& triangle : triangles) {
            m_positions.push_back(triangle.a);
            m_positions.push_back(triangle.b);
            m_positions.push_back(triangle.c);
        }
        // Vertices sorted by cell, then each cell's run found through the map.
        std::vector<std::pair<CCell, uint32_t>> byCell;
        byCell.reserve(vertexCount);
        for (size_t i = 0; i < vertexCount; ++i)
            if (IsUsable(m_positions[i]))
                byCell.emplace_back(CellOf(m_positions[i]), static_cast<uint32_t>(i));
        std::sort(byCell.begin(), byCell.end(), [](const auto& l, const auto& r) {
            return l.first < r.first || (l.first == r.first && l.second < r.second);
        });
        m_sortedVertices.reserve(byCell.size());
        m_cells.reserve(byCell.size());
        for (size_t i = 0; i < byCell.size(); ++i) {
            if (i == 0 || !(byCell[i].first == byCell[i - 1].first))
                m_cells[byCell[i].first] = {static_cast<uint32_t>(i), static_cast<uint32_t>(i)};
            m_cells[byCell[i].first].second = static_cast<uint32_t>(i + 1);
            m_sortedVertices.push_back(byCell[i].second);
        }
    }

    // Appends the triangle of every vertex within 0.2 m of `vertex` whose triangle index is
    // above `minTriangle` (duplicates included).
    void FindTouching(uint32_t vertex, int minTriangle, std::vector<int>& ioTriangles) const
    {
        const CVector3& v = m_positions[vertex];
        if (!IsUsable(v))
            return;
        int64_t lo[3], hi[3];
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = CellCoordinate(v[axis] - kSearchMargin);
            hi[axis] = CellCoordinate(v[axis] + kSearchMargin);
        }
        for (int64_t x = lo[0]; x <= hi[0]; ++x)
            for (int64_t y = lo[1]; y <= hi[1]; ++y)
                for (int64_t z = lo[2]; z <= hi[2]; ++z) {
                    const auto found = m_cells.find(CCell{x, y, z});
                    if (found == m_cells.end())
                        continue;
                    for (uint32_t i = found->second.first; i < found->second.second; ++i) {
                        const uint32_t other = m_sortedVertices[i];
                        const int triangle = static_cast<int>(other / 3);
                        if (triangle > minTriangle &&
                            (v - m_positions[other]).LengthSquared() < kNeighbourVertexDistanceSq)
                            ioTriangles.push_back(triangle);
                    }
                }
    }

private:
    struct CCell
    {
        int64_t x, y, z;
        bool operator==(const CCell& o) const { return x == o.x && y == o.y && z == o.z; }
        bool operator<(const CCell& o) const
        {
            return x != o.x ? x < o.x : (y != o.y ? y < o.y : z < o.z);
        }
    };
    struct CCellHash
    {
        size_t operator()(const CCell& c) const
        {
            uint64_t h = static_cast<uint64_t>(c.x) * 0x9E3779B97F4A7C15ull;
            h ^= static_cast<uint64_t>(c.y) * 0xC2B2AE3D27D4EB4Full + (h >> 29);
            h ^= static_cast<uint64_t>(c.z) * 0x165667B19E3779F9ull + (h >> 32);
            return static_cast<size_t>(h ^ (h >> 31));
        }
    };

    static constexpr double kSearchMargin = 0.25; // m, more than the 0.2 m touch distance
    // Coordinates beyond this share the outermost cells; clamping keeps near points near, so
    // the search stays complete, and keeps the cell numbers inside int64.
    static constexpr double kCoordinateLimit = 1.0e15;

    // Vertices with an infinite or undefined coordinate touch nothing: every distance to them
    // is infinite or not a number.
    static bool IsUsable(const CVector3& v)
    {
        return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
    }
    static int64_t CellCoordinate(double coordinate)
    {
        return static_cast<int64_t>(std::floor(std::clamp(coordinate, -kCoordinateLimit, kCoordinateLimit)));
    }
    static CCell CellOf(const CVector3& v)
    {
        return {CellCoordinate(v.x), CellCoordinate(v.y), CellCoordinate(v.z)};
    }

    std::vector<CVector3> m_positions;      // vertex 3i + k is vertex k of triangle i
    std::vector<uint32_t> m_sortedVertices; // usable vertices, grouped by cell
    std::unordered_map<CCell, std::pair<uint32_t, uint32_t>, CCellHash> m_cells; // run in m_sortedVertices
};
} // namespace

CCollisionMesh::CCollisionMesh()
{
    m_triangles.reserve(1000);
}

void CCollisionMesh::Clear()
{
    m_triangles.clear();
    m_currentTriangle = 0;
    UpdateExtent();
}

void CCollisionMesh::UpdateExtent()
{
    m_minX = m_minZ = 1.0f;
    m_maxX = m_maxZ = -1.0f;
    bool first = true;
    for (const CColTriangle& triangle : m_triangles)
        for (const CVector3* v : {&triangle.a, &triangle.b, &triangle.c})
        {
            if (first)
            {
                m_minX = m_maxX = v->x;
                m_minZ = m_maxZ = v->z;
                first = false;
                continue;
            }
            m_minX = std::min(m_minX, v->x);
            m_maxX = std::max(m_maxX, v->x);
            m_minZ = std::min(m_minZ, v->z);
            m_maxZ = std::max(m_maxZ, v->z);
        }
    BuildScanGrid();
}

void CCollisionMesh::BuildScanGrid()
{
    m_gridColumns = m_gridRows = 0;
    m_gridStart.clear();
    m_gridTriangles.clear();
    m_gridCeiling.clear();
    // A triangle with an infinite or undefined x or z contains no point (its plane's normal
    // is not finite), so it needs no cell.
    const auto isFinite = [](const CColTriangle& t) {
        return std::isfinite(t.a.x) && std::isfinite(t.a.z) && std::isfinite(t.b.x) && std::isfinite(t.b.z) &&
               std::isfinite(t.c.x) && std::isfinite(t.c.z);
    };
    double minX = INFINITY, maxX = -INFINITY, minZ = INFINITY, maxZ = -INFINITY;
    size_t finiteCount = 0;
    for (const CColTriangle& t : m_triangles)
        if (isFinite(t)) {
            ++finiteCount;
            minX = std::min({minX, static_cast<double>(t.a.x), static_cast<double>(t.b.x), static_cast<double>(t.c.x)});
            maxX = std::max({maxX, static_cast<double>(t.a.x), static_cast<double>(t.b.x), static_cast<double>(t.c.x)});
            minZ = std::min({minZ, static_cast<double>(t.a.z), static_cast<double>(t.b.z), static_cast<double>(t.c.z)});
            maxZ = std::max({maxZ, static_cast<double>(t.a.z), static_cast<double>(t.b.z), static_cast<double>(t.c.z)});
        }
    if (finiteCount == 0)
        return;
    // About one cell per triangle, at most kMaxCellsPerAxis along either side.
    constexpr int kMaxCellsPerAxis = 2048;
    const double width = std::max(maxX - minX, 1.0e-3), depth = std::max(maxZ - minZ, 1.0e-3);
    double cellSize = std::sqrt(width * depth / static_cast<double>(finiteCount));
    cellSize = std::max({cellSize, width / kMaxCellsPerAxis, depth / kMaxCellsPerAxis});
    if (!(cellSize > 0.0) || !std::isfinite(cellSize))
        return;
    m_gridX0 = minX;
    m_gridZ0 = minZ;
    m_gridPerMetre = 1.0 / cellSize;
    m_gridColumns = std::clamp(static_cast<int>(std::ceil(width * m_gridPerMetre)), 1, kMaxCellsPerAxis);
    m_gridRows = std::clamp(static_cast<int>(std::ceil(depth * m_gridPerMetre)), 1, kMaxCellsPerAxis);

    // The edge test works in double on the float vertices; a point it puts inside a triangle is
    // within rounding of the triangle's rectangle, far less than this margin.
    const auto margin = [](float lo, float hi) {
        return 1.0e-3f + 1.0e-5f * std::max(std::fabs(lo), std::fabs(hi));
    };
    struct TCells
    {
        int i0, i1, j0, j1;
    };
    std::vector<TCells> spans(m_triangles.size(), TCells{0, -1, 0, -1});
    std::vector<int> counts(static_cast<size_t>(m_gridColumns) * m_gridRows + 1, 0);
    int64_t total = 0;
    const int64_t limit = 16 * static_cast<int64_t>(finiteCount) + 4096;
    for (size_t k = 0; k < m_triangles.size(); ++k) {
        const CColTriangle& t = m_triangles[k];
        if (!isFinite(t))
            continue;
        const float x0 = std::min({t.a.x, t.b.x, t.c.x}), x1 = std::max({t.a.x, t.b.x, t.c.x});
        const float z0 = std::min({t.a.z, t.b.z, t.c.z}), z1 = std::max({t.a.z, t.b.z, t.c.z});
        const float mx = margin(x0, x1), mz = margin(z0, z1);
        TCells& span = spans[k];
        span = {ScanColumn(x0 - mx), ScanColumn(x1 + mx), ScanRow(z0 - mz), ScanRow(z1 + mz)};
        total += static_cast<int64_t>(span.i1 - span.i0 + 1) * (span.j1 - span.j0 + 1);
        if (total > limit) {
            m_gridColumns = m_gridRows = 0; // a few huge triangles: the plain scan is as good
            return;
        }
        for (int j = span.j0; j <= span.j1; ++j)
            for (int i = span.i0; i <= span.i1; ++i)
                ++counts[static_cast<size_t>(j) * m_gridColumns + i];
    }
    m_gridStart.assign(counts.size(), 0);
    for (size_t cell = 1; cell < counts.size(); ++cell)
        m_gridStart[cell] = m_gridStart[cell - 1] + counts[cell - 1];
    m_gridTriangles.resize(static_cast<size_t>(total));
    std::vector<int> fill(m_gridStart.begin(), m_gridStart.end() - 1);
    // A triangle answers a height within its vertices' range (TestTriangle clamps to it); one
    // whose range is not a number could answer anything.
    m_gridCeiling.assign(counts.size() - 1, 0.0f);
    for (size_t k = 0; k < m_triangles.size(); ++k) {
        const TCells& span = spans[k];
        const float highest = std::isnan(m_triangles[k].highest) ? INFINITY : m_triangles[k].highest;
        for (int j = span.j0; j <= span.j1; ++j)
            for (int i = span.i0; i <= span.i1; ++i) {
                const size_t cell = static_cast<size_t>(j) * m_gridColumns + i;
                m_gridTriangles[static_cast<size_t>(fill[cell]++)] = static_cast<int>(k);
                m_gridCeiling[cell] = std::max(m_gridCeiling[cell], highest);
            }
    }
}

void CCollisionMesh::BuildFromTriangleList(const std::vector<CVector3>& vertices)
{
    Clear();
    const size_t count = vertices.size() / 3;
    m_triangles.resize(count);
    for (size_t i = 0; i < count; ++i)
        m_triangles[i].Set(vertices[3 * i], vertices[3 * i + 1], vertices[3 * i + 2]);
    UpdateExtent();
}

void CCollisionMesh::SetTriangles(std::vector<CColTriangle>&& triangles)
{
    Clear();
    m_triangles = std::move(triangles);
    UpdateExtent();
}

void CCollisionMesh::ComputeNeighboursPairwise()
{
    CNeighbourProgress progress;
    for (CColTriangle& triangle : m_triangles)
        triangle.neighbours.clear();
    const int count = GetTriangleCount();
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (CColTriangle::AreNeighbours(m_triangles[i], m_triangles[j])) {
                m_triangles[i].neighbours.push_back(j);
                m_triangles[j].neighbours.push_back(i);
                progress.AddPair();
            }
    progress.Finish();
}

void CCollisionMesh::ComputeNeighbours()
{
    // Same pairs in the same order as the pairwise loop: for each i ascending, the j > i
    // ascending. Touching vertices are necessary for a pair, so the grid proposes every pair
    // that can qualify and the exact pair test decides, with its arguments in the loop's order.
    CNeighbourProgress progress;
    for (CColTriangle& triangle : m_triangles)
        triangle.neighbours.clear();
    const CVertexGrid grid(m_triangles);
    std::vector<int> candidates;
    const int count = GetTriangleCount();
    for (int i = 0; i < count; ++i) {
        candidates.clear();
        for (uint32_t k = 0; k < 3; ++k)
            grid.FindTouching(static_cast<uint32_t>(i) * 3 + k, i, candidates);
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        for (const int j : candidates)
            if (CColTriangle::AreNeighbours(m_triangles[i], m_triangles[j])) {
                m_triangles[i].neighbours.push_back(j);
                m_triangles[j].neighbours.push_back(i);
                progress.AddPair();
            }
    }
    progress.Finish();
}

bool CCollisionMesh::TryTriangle(int index, float x, float z, CTerrainHint& ioHint, float& outHeight,
                                 CVector3& outNormal) const
{
    if (index < 0 || index >= GetTriangleCount())
        return false; // none, or a hint left over from another mesh
    if (!m_triangles[index].TestTriangle(x, z, outHeight, outNormal))
        return false;
    if (index != ioHint.current) {
        ioHint.previous = ioHint.current;
        ioHint.current = index;
    }
    return true;
}

float CCollisionMesh::SearchTerrainHeight(float x, float z, CTerrainHint* ioHint, CVector3& outNormal) const
{
    float height = kHeightNotFound;
    outNormal = CVector3(0.0f, 1.0f, 0.0f);
    bool found = false;

    if (ioHint != nullptr) {
        // The candidates are read before TryTriangle moves the hint.
        const int current = ioHint->current;
        const int previous = ioHint->previous;
        found = TryTriangle(current, x, z, *ioHint, height, outNormal) ||
                TryTriangle(previous, x, z, *ioHint, height, outNormal);
        if (!found && current >= 0 && current < GetTriangleCount())
            for (const int neighbour : m_triangles[current].neighbours)
                if ((found = TryTriangle(neighbour, x, z, *ioHint, height, outNormal)))
                    break;
        if (!found && ioHint->other != nullptr) {
            const int otherCurrent = ioHint->other->current;
            found = TryTriangle(otherCurrent, x, z, *ioHint, height, outNormal);
            if (!found && otherCurrent >= 0 && otherCurrent < GetTriangleCount())
                for (const int neighbour : m_triangles[otherCurrent].neighbours)
                    if ((found = TryTriangle(neighbour, x, z, *ioHint, height, outNormal)))
                        break;
        }
    }

    if (!found && Covers(x, z)) {
        CTerrainHint unused;
        CTerrainHint& hint = ioHint != nullptr ? *ioHint : unused;
        float candidateHeight = 0.0f;
        CVector3 candidateNormal;
        const auto tryTriangle = [&](int i) {
            if (TryTriangle(i, x, z, hint, candidateHeight, candidateNormal)) {
                height = candidateHeight;
                outNormal = candidateNormal;
                found = true;
            }
        };
        if (m_gridColumns > 0 && std::isfinite(x) && std::isfinite(z)) {
            const size_t cell = static_cast<size_t>(ScanRow(z)) * m_gridColumns + ScanColumn(x);
            for (int k = m_gridStart[cell]; k < m_gridStart[cell + 1]; ++k)
                tryTriangle(m_gridTriangles[static_cast<size_t>(k)]);
        } else if (m_gridColumns == 0) {
            for (int i = 0; i < GetTriangleCount(); ++i)
                tryTriangle(i);
        }
    }

    if (!found) {
        outNormal = CVector3(0.0f, 1.0f, 0.0f);
        return 0.0f;
    }
    return height;
}

void CCollisionMesh::SetCurrentTriangle(int index)
{
    m_currentTriangle = std::clamp(index, 0, std::max(GetTriangleCount() - 1, 0));
}
