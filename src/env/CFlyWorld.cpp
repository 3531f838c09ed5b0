#include "env/CFlyWorld.h"

#include <filesystem>
#include <vector>

#include <osgDB/ReadFile>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "env/CollisionCache.h"
#include "env/TerrainGeometry.h"

namespace
{
constexpr const char* kSceneFile = "FlyingSite.osg";
constexpr const char* kTerrainNode = "terrain";
constexpr const char* kCacheFile = "CacheCollision.tmp";
} // namespace

void CFlyWorld::NodeRelease::operator()(osg::Node* node) const
{
    node->unref();
}

bool CFlyWorld::LoadWorld()
{
    m_valid = false;
    m_cacheLoaded = false;
    m_loadError.clear();
    m_mesh.Clear();
    m_terrain = nullptr;
    if (!LoadTerrain()) {
        DiagPrint("%s\n", m_loadError.c_str());
        m_mesh.Clear();
        m_terrain = nullptr;
        return false;
    }
    m_valid = true;
    return true;
}

bool CFlyWorld::LoadTerrain()
{
    const std::string scenePath = BuildDataPath(DF_3D, kSceneFile);
    if (!std::filesystem::exists(scenePath)) {
        m_loadError = scenePath + ": the flying site is missing";
        return false;
    }
    osg::ref_ptr<osg::Node> scene = osgDB::readRefNodeFile(scenePath);
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
    if (!ReshapeTerrainTriangles(*terrain, scenePath, vertices, m_loadError))
        return false;
    if (vertices.empty())
        DiagPrint("%s: node 'terrain' has no triangles; the ground is flat at height 0\n", scenePath.c_str());

    const std::string cachePath = BuildDataPath(DF_OUTPUT, kCacheFile);
    if (ReadCollisionCache(cachePath, vertices, m_mesh)) {
        m_cacheLoaded = true;
        return true;
    }
    m_mesh.BuildFromTriangleList(vertices);
    m_mesh.ComputeNeighbours();
    WriteCollisionCache(cachePath, m_mesh); // a cache that cannot be written only costs time
    return true;
}
