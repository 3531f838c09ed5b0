#pragma once
// Checks a mesh's neighbour lists against the pairwise definition (the i < j loop over all
// pairs), order included. Optimised builds compare every list with ComputeNeighboursPairwise;
// debug and sanitizer builds, where that O(N^2) loop takes minutes on a real terrain, compare
// every 29th triangle's list with one built by testing that triangle against all others.

#include <algorithm>

#include <gtest/gtest.h>

#include "env/CCollisionMesh.h"

inline void ExpectPairwiseNeighbours(const CCollisionMesh& mesh)
{
    const std::vector<CColTriangle>& triangles = mesh.GetTriangles();
#ifdef NDEBUG
    CCollisionMesh pairwise = mesh;
    pairwise.ComputeNeighboursPairwise();
    for (size_t i = 0; i < triangles.size(); ++i)
        ASSERT_EQ(triangles[i].neighbours, pairwise.GetTriangles()[i].neighbours) << "triangle " << i;
#else
    for (size_t i = 0; i < triangles.size(); i += 29) {
        // The loop visits (j, i) for j < i first, then (i, j) for j > i: ascending j either way.
        std::vector<int> expected;
        for (size_t j = 0; j < triangles.size(); ++j)
            if (j != i && CColTriangle::AreNeighbours(triangles[std::min(i, j)], triangles[std::max(i, j)]))
                expected.push_back(static_cast<int>(j));
        ASSERT_EQ(triangles[i].neighbours, expected) << "triangle " << i;
    }
#endif
}
