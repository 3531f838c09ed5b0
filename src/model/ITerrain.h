#pragma once
// What the flight model needs from the terrain: the ground height and normal under a point.
// src/env's collision mesh answers it through an adapter the flight process installs; the
// model itself never depends on src/env, so it builds and runs without any terrain loaded.

#include <limits>

#include "core/CVector3.h"

// Where the last query of one object found its triangle, so that the next query tries that
// triangle and its neighbours first. Owned by the asking object (the body, each wheel, each
// collision point); only the terrain reads and moves it.
struct TTerrainHint
{
    int current = -1;  // triangle of the last answer, -1 = none
    int previous = -1; // triangle of the answer before, -1 = none
    int count = 0;     // queries answered through this hint
};

class ITerrain
{
public:
    virtual ~ITerrain() = default;
    // Ground height (world Y, m) under the world point (x, z) and the unit ground normal there.
    virtual float GetTerrainHeight(float x, float z, TTerrainHint& ioHint, CVector3& outNormal) const = 0;
    // A height (world Y, m) no answer of GetTerrainHeight under (x, z) exceeds: a wheel above it
    // is in the air without asking. Infinite when the terrain cannot tell.
    virtual float GetGroundCeiling(float, float) const { return std::numeric_limits<float>::infinity(); }
};

// No terrain loaded: flat ground at height 0 facing up, the answer the collision mesh gives
// outside its triangles too.
class CNullTerrain : public ITerrain
{
public:
    float GetTerrainHeight(float, float, TTerrainHint&, CVector3& outNormal) const override
    {
        outNormal = CVector3(0.0f, 1.0f, 0.0f);
        return 0.0f;
    }
    float GetGroundCeiling(float, float) const override { return 0.0f; }
};
