#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "env/CollisionCache.h"
#include "env/GeneratedTerrain.h"
#include "support/DiagCapture.h"
#include "support/TempDir.h"

namespace
{
using Bytes = std::vector<unsigned char>;
const char* const kCache = "Output/CacheCollision.tmp";

uint32_t GetU32(const Bytes& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes.at(at + i);
    return value;
}

void PutU32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<unsigned char>(value >> (8 * i));
}

class CollisionCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_vertices = testterrain::MakeTerrain(12, 10, 30, true);
        m_mesh.BuildFromTriangleList(m_vertices);
        m_mesh.ComputeNeighbours();
        m_path = (m_dir.Path() / kCache).string();
        ASSERT_TRUE(WriteCollisionCache(m_path, m_mesh));
        m_diag.lines.clear();
    }

    TempDir m_dir;
    std::vector<CVector3> m_vertices;
    CCollisionMesh m_mesh;
    std::string m_path;
    CDiagCapture m_diag;
};

TEST_F(CollisionCacheTest, RoundTripGivesTheSameMeshAndAMissingFileIsReported)
{
    CCollisionMesh read;
    ASSERT_TRUE(ReadCollisionCache(m_path, m_vertices, read)) << testing::PrintToString(m_diag.lines);
    ASSERT_EQ(read.GetTriangleCount(), m_mesh.GetTriangleCount());
    for (int i = 0; i < read.GetTriangleCount(); ++i) {
        const CColTriangle& l = read.GetTriangles()[i];
        const CColTriangle& r = m_mesh.GetTriangles()[i];
        EXPECT_EQ(std::memcmp(&l.a, &r.a, sizeof(CVector3) * 3), 0) << i; // NaN vertices included
        EXPECT_EQ(l.neighbours, r.neighbours) << i;
    }
    EXPECT_TRUE(m_diag.lines.empty());

    EXPECT_FALSE(ReadCollisionCache(m_path + ".gone", m_vertices, read));
    EXPECT_TRUE(m_diag.Contains("no cache file")) << testing::PrintToString(m_diag.lines);
}

// Every damaged or outdated cache is refused with a message, leaving an empty mesh to rebuild.
TEST_F(CollisionCacheTest, DamagedOrOutdatedCachesAreRefused)
{
    const std::string text = m_dir.Read(kCache);
    const Bytes good(text.begin(), text.end());
    const size_t firstCount = 4 + 52, firstNeighbour = 4 + 56; // of triangle 0, which has neighbours
    ASSERT_GE(GetU32(good, firstCount), 2u);
    const uint32_t triangles = static_cast<uint32_t>(m_mesh.GetTriangleCount());
    // The reason is part of the message.
    struct CCase { const char *what, *reason; std::function<void(Bytes&, std::vector<CVector3>&)> damage; };
    const size_t lastNeighbour = firstNeighbour + 4 * (GetU32(good, firstCount) - 1);
    const CCase cases[] = {
        {"empty file", "too short", [](Bytes& b, auto&) { b.clear(); }},
        // EmptyCacheOfARealTerrainIsRebuilt: the world loader rebuilds what is refused here.
        {"no triangles for a real terrain", "the terrain has", [](Bytes& b, auto&) { b.assign(4, 0); }},
        {"cut inside a record", "too short for", [](Bytes& b, auto&) { b.resize(b.size() / 2); }},
        {"trailing garbage", "1 bytes after", [](Bytes& b, auto&) { b.push_back(0); }},
        {"huge triangle count", "4294967295 triangles", [](Bytes& b, auto&) { PutU32(b, 0, 0xFFFFFFFFu); }},
        {"huge neighbour count", "do not fit", [&](Bytes& b, auto&) { PutU32(b, firstCount, 0xFFFFFFF0u); }},
        {"neighbour out of range", "out of range", [&](Bytes& b, auto&) { PutU32(b, lastNeighbour, triangles); }},
        {"neighbour is itself", "out of range", [&](Bytes& b, auto&) { PutU32(b, firstNeighbour, 0); }},
        {"neighbours out of order", "out of order",
         [&](Bytes& b, auto&) {
             const uint32_t first = GetU32(b, firstNeighbour);
             PutU32(b, firstNeighbour, GetU32(b, firstNeighbour + 4));
             PutU32(b, firstNeighbour + 4, first);
         }},
        // A loose triangle near the end, far from the corner where triangle 0 lies.
        {"neighbour that does not touch", "do not touch", [&](Bytes& b, auto&) { PutU32(b, lastNeighbour, triangles - 6); }},
        {"one side of a pair forgotten", "not the other way round",
         [&](Bytes& b, auto&) {
             PutU32(b, firstCount, GetU32(b, firstCount) - 1);
             b.erase(b.begin() + static_cast<long>(lastNeighbour), b.begin() + static_cast<long>(lastNeighbour) + 4);
         }},
        {"wrong radius", "radius", [](Bytes& b, auto&) { PutU32(b, 4 + 48, GetU32(b, 4 + 48) + 1); }},
        {"terrain has one vertex moved", "triangle 13 differs", [](Bytes&, std::vector<CVector3>& v) { v[40].y += 0.001f; }},
        {"terrain has one triangle more", "the terrain has",
         [](Bytes&, std::vector<CVector3>& v) { v.insert(v.end(), {v[0], v[1], v[2]}); }},
    };
    for (const CCase& test : cases) {
        Bytes bytes = good;
        std::vector<CVector3> terrain = m_vertices;
        test.damage(bytes, terrain);
        m_dir.Write(kCache, std::string(bytes.begin(), bytes.end()));
        m_diag.lines.clear();
        CCollisionMesh read = m_mesh;
        EXPECT_FALSE(ReadCollisionCache(m_path, terrain, read)) << test.what;
        EXPECT_EQ(read.GetTriangleCount(), 0) << test.what;
        EXPECT_TRUE(m_diag.Contains(m_path)) << test.what << ": " << testing::PrintToString(m_diag.lines);
        EXPECT_TRUE(m_diag.Contains(test.reason)) << test.what << ": " << testing::PrintToString(m_diag.lines);
    }
}

TEST_F(CollisionCacheTest, EmptyCacheOfAnEmptyTerrainIsAnEmptyMesh)
{
    m_dir.Write(kCache, std::string(4, '\0'));
    CCollisionMesh read = m_mesh;
    ASSERT_TRUE(ReadCollisionCache(m_path, {}, read)) << testing::PrintToString(m_diag.lines);
    EXPECT_EQ(read.GetTriangleCount(), 0);
    CTerrainHint hint;
    CVector3 normal;
    EXPECT_EQ(read.GetTerrainHeight(3.0f, 2.0f, &hint, normal), 0.0f);
    EXPECT_EQ(normal, CVector3(0, 1, 0));
}
} // namespace
