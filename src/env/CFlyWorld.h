#pragma once
// The flying site: the terrain scene and its collision mesh, and where models start.
//
// LoadWorld, at the start of a flight:
//  1. Read Data/3D/FlyingSite.osg and find its node "terrain" (plain triangle lists).
//  2. Reshape the terrain's heights in place, y * (x^2 + z^2) / 1e6, so the field around the
//     origin is flat; the scene keeps the reshaped vertices, so what is drawn is what collides.
//  3. Take the collision mesh from Output/CacheCollision.tmp when it matches the reshaped
//     terrain; otherwise build it, compute the neighbours and write the cache.
// The terrain scene is kept for the graphics, which add it to the scene; nothing here needs a
// window or a GL context, and only this class's source reads the scene (OpenSceneGraph), so the
// headless session that includes this header builds without it.

#include <memory>
#include <string>

#include "core/CVector3.h"
#include "env/CCollisionMesh.h"
#include "env/CStartPose.h"
#include "env/CTerrainHint.h"

namespace osg
{
class Node;
}

class CFlyWorld
{
public:
    // False when the terrain cannot be loaded (reported, and kept in GetLoadError); the world is
    // then not valid and the mesh empty, so every height query answers 0.
    bool LoadWorld();

    // Ground height (m) under (x, z) and the unit normal there (see CCollisionMesh).
    float GetTerrainHeight(float x, float z, CTerrainHint* ioHint, CVector3& outNormal) const
    {
        return m_mesh.GetTerrainHeight(x, z, ioHint, outNormal);
    }

    // The debug display's highlighted triangle; clamped.
    void SetCurrentTriangle(int index) { m_mesh.SetCurrentTriangle(index); }

    const CCollisionMesh& GetCollisionMesh() const { return m_mesh; }
    // The terrain scene as read (root of FlyingSite.osg), reshaped; null before loading.
    osg::Node* GetTerrainNode() const { return m_terrain.get(); }

    // The flying model's hint, for showing its triangle; not owned (the flight process owns the
    // model, which outlives its use here).
    void SetModelHint(const CTerrainHint* hint) { m_modelHint = hint; }
    const CTerrainHint* GetModelHint() const { return m_modelHint; }

    // Where the flight process resets the model to.
    const CStartPose& GetStartPose() const { return m_startPose; }
    // A second pose above the field, looking back at it.
    const CStartPose& GetSecondPose() const { return m_secondPose; }

    bool IsValid() const { return m_valid; }
    // Whether the last LoadWorld took the collision mesh from the cache.
    bool IsCacheLoaded() const { return m_cacheLoaded; }
    const std::string& GetLoadError() const { return m_loadError; }

private:
    bool LoadTerrain();

    // Drops the world's reference on the scene (the graphics may hold their own).
    struct NodeRelease
    {
        void operator()(osg::Node* node) const;
    };

    CCollisionMesh m_mesh;
    std::unique_ptr<osg::Node, NodeRelease> m_terrain;
    const CTerrainHint* m_modelHint = nullptr;
    CStartPose m_startPose{{0.0f, 0.4f, 0.0f}, 0.0f, 0.0f, 0.0f};
    CStartPose m_secondPose{{-8.0f, 2.0f, -8.0f}, 135.2f, -8.4f, 0.0f};
    bool m_valid = false;
    bool m_cacheLoaded = false;
    std::string m_loadError;
};
