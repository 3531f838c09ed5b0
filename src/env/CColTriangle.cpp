#include "env/CColTriangle.h"

#include <algorithm>
#include <cmath>

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
