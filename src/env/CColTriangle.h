#pragma once
// One triangle of the terrain collision mesh, with what the neighbour search and the height
// query need: its vertices, centroid and bounding radius and the triangles next to it.

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/CVector3.h"

struct CColTriangle
{
    CVector3 a, b, c;              // vertices, world frame (m), as the terrain lists them
    CVector3 centroid;             // (a + b + c) / 3, world frame (m)
    float radius = 0.0f;           // largest distance from the centroid to a vertex (m)
    std::vector<int> neighbours;   // indices of the touching triangles, ascending
    // Derived by Set for the height query, which the wheels ask every sub-step: the plane normal
    // (b - a) x (c - b) in double, whether the triangle has an area seen from above, the unit
    // normal pointing up and the vertices' height range (m).
    double planeX = 0.0, planeY = 0.0, planeZ = 0.0;
    bool hasArea = false;
    CVector3 upNormal;
    float lowest = 0.0f, highest = 0.0f;

    // Sets the vertices and derives the centroid, radius and plane; the neighbours are cleared.
    void Set(const CVector3& inA, const CVector3& inB, const CVector3& inC);

    // Whether (x, z) lies inside the triangle seen from above (X-Z plane); points on an edge
    // are inside. When it does, outHeight is the height of the triangle's plane there (m) and
    // outNormal the plane's unit normal, pointing up whatever the winding.
    bool TestTriangle(float x, float z, float& outHeight, CVector3& outNormal) const;

    // The neighbour relation of the mesh: the centroids are no further apart than 1.5 times the
    // larger radius, and some vertex of one lies closer than 0.2 m to a vertex of the other.
    static bool AreNeighbours(const CColTriangle& first, const CColTriangle& second);
};

// Squared distance below which two vertices touch (0.2 m squared).
constexpr float kNeighbourVertexDistanceSq = 0.04f;

namespace collision_edges
{
// Twice the signed area of (p, q, point) in the X-Z plane, in double precision. The two ends
// of the edge are put in a fixed order before computing, so that (q, p) gives exactly the
// negated value of (p, q): two triangles sharing an edge then agree to the last bit on which
// side of it a point lies, and a point on the edge is inside both. Computing it per triangle
// (start vertex first, as a direction test naturally would) rounds differently on the two
// sides and leaves points along shared edges in neither triangle, that is, holes in the ground.
inline double OrderedEdgeSide(const CVector3& p, const CVector3& q, double x, double z)
{
    return (static_cast<double>(q.x) - p.x) * (z - p.z) - (static_cast<double>(q.z) - p.z) * (x - p.x);
}

inline double EdgeSide(const CVector3& p, const CVector3& q, double x, double z)
{
    if (q.x < p.x || (q.x == p.x && q.z < p.z))
        return -OrderedEdgeSide(q, p, x, z);
    return OrderedEdgeSide(p, q, x, z);
}
} // namespace collision_edges

// Inline: the wheels ask every sub-step.
inline bool CColTriangle::TestTriangle(float x, float z, float& outHeight, CVector3& outNormal) const
{
    if (!hasArea)
        return false;

    // Inside means on the inner side of all three edges; the inner side follows the winding,
    // so terrain drawn either way round collides.
    const double px = x, pz = z;
    if (!std::isfinite(px) || !std::isfinite(pz))
        return false;
    const double s1 = collision_edges::EdgeSide(a, b, px, pz), s2 = collision_edges::EdgeSide(b, c, px, pz),
                 s3 = collision_edges::EdgeSide(c, a, px, pz);
    if (planeY < 0.0) {
        if (s1 < 0.0 || s2 < 0.0 || s3 < 0.0)
            return false;
    } else if (s1 > 0.0 || s2 > 0.0 || s3 > 0.0) {
        return false;
    }

    // Height of the plane through a; rounding near a sliver's edge must not push it outside
    // the vertices' height range, which bounds every point of the triangle.
    double height = a.y - (planeX * (px - a.x) + planeZ * (pz - a.z)) / planeY;
    if (!std::isfinite(height)) // a vertex at infinity or not a number
        return false;
    height = std::clamp(height, static_cast<double>(lowest), static_cast<double>(highest));
    outHeight = static_cast<float>(height);
    outNormal = upNormal;
    return true;
}
