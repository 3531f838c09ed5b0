#pragma once
// The flying site: the terrain scene and its collision mesh, its slope lift, and where models
// start and the pilot stands.
//
// There are two sites (kSites): the flat field "FlyingSite", the default, and the slope site
// "SlopeSite", a ridge facing the prevailing wind (heading 180) with the pilot on its crest.
//
// LoadWorld(site), at the start of a flight:
//  1. Read Data/3D/<site>.osg and find its node "terrain" (plain triangle lists).
//  2. The field only: reshape the terrain's heights in place, y * (x^2 + z^2) / 1e6, so the
//     field around the origin is flat; the scene keeps the reshaped vertices, so what is drawn
//     is what collides. The slope site is authored at its final heights.
//  3. Take the collision mesh from the site's own cache in Output/ (CacheCollision.tmp for the
//     field) when it matches the terrain; otherwise build it, compute the neighbours and write
//     the cache.
//  4. The slope lift grid from the mesh.
// The terrain scene is kept for the graphics, which add it to the scene; nothing here needs a
// window or a GL context, and only this class's source reads the scene (OpenSceneGraph), so the
// headless session that includes this header builds without it.

#include <memory>
#include <string>

#include "core/CVector3.h"
#include "env/CCollisionMesh.h"
#include "env/CStartPose.h"
#include "env/CSlopeLift.h"
#include "env/CTerrainHint.h"

namespace osg
{
class Node;
}

// One flying site the program knows.
struct TSiteInfo
{
    const char* name;      // as Config.txt and kestro-fdm's --site name it; also the scene's file name
    const char* cacheFile; // collision cache in Output/
    bool reshape;          // heights reshaped around the origin (the field)
    CStartPose start;      // where a model is put down
    CStartPose pilot;      // where the pilot stands and looks
};

class CFlyWorld
{
public:
    static constexpr const char* kDefaultSite = "FlyingSite";
    static constexpr int kSiteCount = 2;
    static const TSiteInfo kSites[kSiteCount];
    // The site of that name (case-sensitive); null when there is none.
    static const TSiteInfo* FindSite(const std::string& name);

    // False when the site is unknown or its terrain cannot be loaded (reported, and kept in
    // GetLoadError); the world is then not valid and the mesh empty, so every height query
    // answers 0.
    bool LoadWorld(const std::string& siteName = kDefaultSite);
    // The site last asked for by LoadWorld (the default before).
    const std::string& GetSiteName() const { return m_siteName; }
    // Whether LoadWorld reads the scene through its binary copy in Output/SceneCache/ (see
    // env/SceneCache.h): the flight screen does; batch tools, which would write the copy into
    // a folder they remove, read the text.
    void UseSceneCache(bool use) { m_useSceneCache = use; }

    // Ground height (m) under (x, z) and the unit normal there (see CCollisionMesh).
    float GetTerrainHeight(float x, float z, CTerrainHint* ioHint, CVector3& outNormal) const
    {
        return m_mesh.GetTerrainHeight(x, z, ioHint, outNormal);
    }

    // The debug display's highlighted triangle; clamped.
    void SetCurrentTriangle(int index) { m_mesh.SetCurrentTriangle(index); }

    const CCollisionMesh& GetCollisionMesh() const { return m_mesh; }
    const CSlopeLift& GetSlopeLift() const { return m_slopeLift; }
    // The terrain scene as read (root of FlyingSite.osg), reshaped; null before loading.
    osg::Node* GetTerrainNode() const { return m_terrain.get(); }

    // The flying model's hint, for showing its triangle; not owned (the flight process owns the
    // model, which outlives its use here).
    void SetModelHint(const CTerrainHint* hint) { m_modelHint = hint; }
    const CTerrainHint* GetModelHint() const { return m_modelHint; }

    // Where the flight process resets the model to.
    const CStartPose& GetStartPose() const { return m_startPose; }
    // A second pose: where the pilot stands, looking at the field or over the slope.
    const CStartPose& GetSecondPose() const { return m_secondPose; }

    bool IsValid() const { return m_valid; }
    // Whether the last LoadWorld took the collision mesh from the cache.
    bool IsCacheLoaded() const { return m_cacheLoaded; }
    const std::string& GetLoadError() const { return m_loadError; }

private:
    bool LoadTerrain(const TSiteInfo& site);

    // Drops the world's reference on the scene (the graphics may hold their own).
    struct NodeRelease
    {
        void operator()(osg::Node* node) const;
    };

    std::string m_siteName = kDefaultSite;
    CCollisionMesh m_mesh;
    CSlopeLift m_slopeLift;
    std::unique_ptr<osg::Node, NodeRelease> m_terrain;
    const CTerrainHint* m_modelHint = nullptr;
    CStartPose m_startPose = kSites[0].start;
    CStartPose m_secondPose = kSites[0].pilot;
    bool m_valid = false;
    bool m_cacheLoaded = false;
    bool m_useSceneCache = false;
    std::string m_loadError;
};
