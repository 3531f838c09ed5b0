#pragma once
// The terrain as a flat array of triangles that answers "how high is the ground under (x, z),
// and which way does it face". Bodies, wheels, collision points and the camera ask this many
// times per frame, each with its own CTerrainHint.
//
// Height query, for a point (x, z):
//  1. With a hint, try in order: the hint's current triangle, its previous triangle, the
//     neighbours of the current triangle, the other hint's current triangle and that one's
//     neighbours; the first triangle containing the point answers. When it is not the current
//     triangle, the current one becomes the previous one and the found one the current one.
//  2. Otherwise test every triangle in index order; each containing triangle overwrites the
//     answer and moves the hint the same way, so the last one in index order wins. Only the
//     triangles listed in the point's cell of the scan grid are tried: the others cannot
//     contain it, so the answer and the hint end up exactly as with the whole list.
//  3. No triangle contains the point: height 0, normal straight up. A point outside the
//     mesh's extent seen from above (or not a number) gets this answer at once, without the
//     scan: a model flown far off the site would otherwise scan every triangle per query.
//
// Neighbours: two triangles are neighbours when CColTriangle::AreNeighbours says so, that is
// when a vertex of one is within 0.2 m of a vertex of the other (and their centroids are not too
// far apart). Each triangle lists its neighbours in ascending index order, which is the order a
// loop over all pairs i < j produces. ComputeNeighboursPairwise is that loop, O(N^2);
// ComputeNeighbours gives the same lists in about O(N) from a grid of the vertices.

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/CVector3.h"
#include "env/CColTriangle.h"
#include "env/CTerrainHint.h"

class CCollisionMesh
{
public:
    CCollisionMesh();

    // Drops all triangles.
    void Clear();

    // One triangle from every three consecutive vertices (a plain triangle list); neighbours are
    // left empty.
    void BuildFromTriangleList(const std::vector<CVector3>& vertices);

    // Takes triangles whose neighbour lists are already known (the cache reader).
    void SetTriangles(std::vector<CColTriangle>&& triangles);

    // Fills every triangle's neighbour list. Both give identical lists; the pairwise version is
    // kept as the reference definition.
    void ComputeNeighbours();
    void ComputeNeighboursPairwise();

    // Ground height (m) under (x, z) and the unit normal there; 0 and straight up outside the
    // mesh. The hint, when given, is read and moved (see the class comment).
    float GetTerrainHeight(float x, float z, CTerrainHint* ioHint, CVector3& outNormal) const
    {
        // The usual case, inline: the point is still in the hint's current triangle, which
        // answers without moving the hint. Anything else takes the search below.
        if (ioHint != nullptr && ioHint->current >= 0 && ioHint->current < GetTriangleCount())
        {
            float height = 0.0f;
            if (m_triangles[static_cast<size_t>(ioHint->current)].TestTriangle(x, z, height, outNormal))
                return height;
        }
        return SearchTerrainHeight(x, z, ioHint, outNormal);
    }

    // A height (m) no answer of GetTerrainHeight under (x, z) exceeds, whatever the hint: the
    // highest vertex of the triangles listed in the point's scan cell, or 0 (the answer where
    // none contains the point) when higher. Infinite without a scan grid or for NaN or infinite
    // coordinates.
    float GetGroundCeiling(float x, float z) const
    {
        if (m_gridColumns == 0 || !std::isfinite(x) || !std::isfinite(z))
            return INFINITY;
        return m_gridCeiling[static_cast<size_t>(ScanRow(z)) * m_gridColumns + ScanColumn(x)];
    }

    // Whether (x, z) lies within the extent of the triangles seen from above (their bounding
    // rectangle in X-Z); false for an empty mesh and for NaN.
    bool Covers(float x, float z) const
    {
        return x >= m_minX && x <= m_maxX && z >= m_minZ && z <= m_maxZ;
    }

    // The triangle the debug display highlights; clamped to the triangles that exist.
    void SetCurrentTriangle(int index);
    int GetCurrentTriangle() const { return m_currentTriangle; }

    int GetTriangleCount() const { return static_cast<int>(m_triangles.size()); }
    const std::vector<CColTriangle>& GetTriangles() const { return m_triangles; }

private:
    // The whole query of the class comment.
    float SearchTerrainHeight(float x, float z, CTerrainHint* ioHint, CVector3& outNormal) const;
    // Tests one triangle for the hinted search; on success fills the answer and moves the hint.
    bool TryTriangle(int index, float x, float z, CTerrainHint& ioHint, float& outHeight,
                     CVector3& outNormal) const;

    // Recomputes the extent and the scan grid from the triangles.
    void UpdateExtent();
    void BuildScanGrid();
    // Scan grid column (row) of a world x (z), clamped to the grid; the same function places
    // the triangles and the queries, so a point always lands in a cell its triangles are in.
    // In double and clamped before the conversion: infinite coordinates stay defined. Inline:
    // every wheel asks for its ground ceiling each sub-step.
    int ScanColumn(float x) const
    {
        const double cell = std::floor((static_cast<double>(x) - m_gridX0) * m_gridPerMetre);
        return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(m_gridColumns - 1)));
    }
    int ScanRow(float z) const
    {
        const double cell = std::floor((static_cast<double>(z) - m_gridZ0) * m_gridPerMetre);
        return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(m_gridRows - 1)));
    }

    std::vector<CColTriangle> m_triangles;
    int m_currentTriangle = 0; // for the debug display only
    // Extent of the triangles in X-Z (world, m); inverted (nothing covered) when there are none.
    float m_minX = 1.0f, m_maxX = -1.0f, m_minZ = 1.0f, m_maxZ = -1.0f;
    // The scan grid: square cells over the finite triangles' extent in X-Z, each listing (in
    // ascending order) the triangles whose bounding rectangle, widened by a margin for rounding,
    // overlaps it. A site with a hole in its mesh otherwise scans all its tens of thousands of
    // triangles for every query over the hole. Empty (plain scan) when the mesh has no finite
    // triangle or when huge triangles would make the lists too long.
    double m_gridX0 = 0.0, m_gridZ0 = 0.0; // world (m), corner of cell (0, 0)
    double m_gridPerMetre = 0.0;            // cells per metre
    int m_gridColumns = 0, m_gridRows = 0;
    std::vector<int> m_gridStart;     // per cell (row by row along x), then the end: offsets
    std::vector<int> m_gridTriangles; // the cells' triangle lists, one after the other
    std::vector<float> m_gridCeiling; // per cell: GetGroundCeiling (m)
};
