#pragma once
// The flight model asks the terrain through ITerrain with its own hint record; the flying site's
// collision mesh keeps a slightly different one (CTerrainHint, which may point at another
// object's hint). This adapter translates between the two on every query.

#include "env/CFlyWorld.h"
#include "model/ITerrain.h"

class CFlyWorldTerrain : public ITerrain
{
public:
    explicit CFlyWorldTerrain(const CFlyWorld& world) : m_world(world) {}

    float GetTerrainHeight(float x, float z, TTerrainHint& ioHint, CVector3& outNormal) const override
    {
        CTerrainHint hint;
        hint.current = ioHint.current;
        hint.previous = ioHint.previous;
        const float height = m_world.GetTerrainHeight(x, z, &hint, outNormal);
        ioHint.current = hint.current;
        ioHint.previous = hint.previous;
        ++ioHint.count;
        return height;
    }
    float GetGroundCeiling(float x, float z) const override { return m_world.GetCollisionMesh().GetGroundCeiling(x, z); }

private:
    const CFlyWorld& m_world; // not owned: the session keeps the site alive as long as the model
};
