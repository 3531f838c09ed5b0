#include "env/CColTriangle.h"

#include <algorithm>
#include <cmath>

namespace
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
} // namespace

void CColTriangle::Set(const CVector3& inA, const CVector3& inB, const CVector3& inC)
{
    a = inA;
    b = inB;
    c = inC;
    centroid = (a + b + c) / 3.0f;
    const float largestSq = std::max({(a - centroid).LengthSquared(), (b - centroid).LengthSquared(),
                                      (c - centroid).LengthSquared()});
    radius = std::sqrt(largestSq);
    neighbours.clear();

    // Plane normal (b - a) x (c - b), in double so that a long thin triangle still gives a
    // usable plane. Its Y component is minus twice the triangle's signed area seen from above.
    const double e1x = static_cast<double>(b.x) - a.x, e1y = static_cast<double>(b.y) - a.y,
                 e1z = static_cast<double>(b.z) - a.z;
    const double e2x = static_cast<double>(c.x) - b.x, e2y = static_cast<double>(c.y) - b.y,
                 e2z = static_cast<double>(c.z) - b.z;
    planeX = e1y * e2z - e1z * e2y;
    planeY = e1z * e2x - e1x * e2z;
    planeZ = e1x * e2y - e1y * e2x;
    // A triangle with no area seen from above (collapsed edges, collinear or vertical) covers
    // no point: it has no height to give, the plane equation would divide by zero.
    hasArea = planeY != 0.0 && std::isfinite(planeY);
    const double length = std::sqrt(planeX * planeX + planeY * planeY + planeZ * planeZ);
    const double up = planeY < 0.0 ? -1.0 : 1.0;
    upNormal = CVector3(static_cast<float>(up * planeX / length), static_cast<float>(up * planeY / length),
                        static_cast<float>(up * planeZ / length));
    lowest = std::min({a.y, b.y, c.y});
    highest = std::max({a.y, b.y, c.y});
}

bool CColTriangle::TestTriangle(float x, float z, float& outHeight, CVector3& outNormal) const
{
    if (!hasArea)
        return false;

    // Inside means on the inner side of all three edges; the inner side follows the winding,
    // so terrain drawn either way round collides.
    const double px = x, pz = z;
    if (!std::isfinite(px) || !std::isfinite(pz))
        return false;
    const double s1 = EdgeSide(a, b, px, pz), s2 = EdgeSide(b, c, px, pz), s3 = EdgeSide(c, a, px, pz);
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

bool CColTriangle::AreNeighbours(const CColTriangle& first, const CColTriangle& second)
{
    const float reach = 1.5f * std::max(first.radius, second.radius);
    if ((first.centroid - second.centroid).LengthSquared() > reach * reach)
        return false;
    const CVector3* firstVertices[3] = {&first.a, &first.b, &first.c};
    const CVector3* secondVertices[3] = {&second.a, &second.b, &second.c};
    for (const CVector3* v : firstVertices)
        for (const CVector3* w : secondVertices)
            if ((*v - *w).LengthSquared() < kNeighbourVertexDistanceSq)
                return true;
    return false;
}
