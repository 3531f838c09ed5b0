#pragma once
// One triangle of the terrain collision mesh, with what the neighbour search and the height
// query need: its vertices, centroid and bounding radius and the triangles next to it.

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
