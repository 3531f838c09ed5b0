#include "env/CFlyWorld.h"

#include <filesystem>
#include <vector>

#include <osgDB/ReadFile>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "env/CollisionCache.h"
#include "env/SceneCache.h"
#include "env/TerrainGeometry.h"

namespace
{
constexpr const char* kTerrainNode = "terrain";
} // namespace

void CFlyWorld::NodeRelease::operator()(osg::Node* node) const
{
    node->unref();
}

const TSiteInfo CFlyWorld::kSites[kSiteCount] = {
    // The field: the model on the runway's centre, the pilot beside it looking across.
    {"FlyingSite", "CacheCollision.tmp", true, {{0.0f, 0.4f, 0.0f}, 0.0f, 0.0f, 0.0f},
     {{-8.0f, 2.0f, -8.0f}, 135.2f, -8.4f, 0.0f}},
    // The slope: the crest runs along x through the origin, the face falls away towards -z into
    // the wind. The model sits on the crest's edge, nose into the wind, ready to be launched off
    // it; the pilot stands a few steps behind, looking out over the valley.
    {"SlopeSite", "CacheCollision_SlopeSite.tmp", false, {{0.0f, 0.4f, -3.0f}, 0.0f, 0.0f, 0.0f},
     {{-3.0f, 1.8f, 9.0f}, 15.0f, -6.0f, 0.0f}},
};

const TSiteInfo* CFlyWorld::FindSite(const std::string& name)
{
    for (const TSiteInfo& site : kSites)
        if (name == site.name)
            return &site;
    return nullptr;
}

bool CFlyWorld::LoadWorld(const std::string& siteName)
{
    m_valid = false;
    m_cacheLoaded = false;
    m_loadError.clear();
    m_mesh.Clear();
    m_slopeLift.Clear();
    m_terrain = nullptr;
    m_siteName = siteName;
    const TSiteInfo* site = FindSite(siteName);
    if (site == nullptr) {
        m_loadError = "no flying site named '" + siteName + "'";
        DiagPrint("%s\n", m_loadError.c_str());
        return false;
    }
    m_startPose = site->start;
    m_secondPose = site->pilot;
    if (!LoadTerrain(*site)) {
        DiagPrint("%s\n", m_loadError.c_str());
        m_mesh.Clear();
        m_terrain = nullptr;
        return false;
    }
    m_slopeLift.Build(m_mesh);
    m_valid = true;
    return true;
}

bool CFlyWorld::LoadTerrain(const TSiteInfo& site)
{
    const std::string scenePath = BuildDataPath(DF_3D, std::string(site.name) + ".osg");
    if (!std::filesystem::exists(scenePath)) {
        m_loadError = scenePath + ": the flying site is missing";
        return false;
    }
    osg::ref_ptr<osg::Node> scene = m_useSceneCache ? ReadSceneFile(scenePath) : osgDB::readRefNodeFile(scenePath);
    if (!scene) {
        m_loadError = scenePath + ": the flying site cannot be read";
        return false;
    }
    scene->ref(); // the reference m_terrain drops
    m_terrain.reset(scene.get());
    osg::Node* terrain = FindNamedNode(*m_terrain, kTerrainNode);
    if (terrain == nullptr) {
        m_loadError = scenePath + ": no node named 'terrain'";
        return false;
    }
    std::vector<CVector3> vertices;
    if (!ReshapeTerrainTriangles(*terrain, scenePath, vertices, m_loadError, site.reshape))
        return false;
    if (vertices.empty())
        DiagPrint("%s: node 'terrain' has no triangles; the ground is flat at height 0\n", scenePath.c_str());

    const std::string cachePath = BuildDataPath(DF_OUTPUT, site.cacheFile);
    if (ReadCollisionCache(cachePath, vertices, m_mesh)) {
        m_cacheLoaded = true;
        return true;
    }
    m_mesh.BuildFromTriangleList(vertices);
    m_mesh.ComputeNeighbours();
    WriteCollisionCache(cachePath, m_mesh); // a cache that cannot be written only costs time
    return true;
}
