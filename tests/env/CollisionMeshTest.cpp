#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include "support/DiagCapture.h"
#include "env/CCollisionMesh.h"
#include "env/GeneratedTerrain.h"
#include "env/PairwiseNeighbours.h"

namespace
{
// A 2 x 1 strip of flat squares at different heights per triangle:
//   triangle 0: (0,0)-(0,10)-(10,0) at y = 1, triangle 1: (10,0)-(0,10)-(10,10) at y = 1,
//   triangles 2, 3: the square from x = 10 to 20 at y = 1 as well.
CCollisionMesh MakeStrip()
{
    std::vector<CVector3> vertices;
    for (int i = 0; i < 2; ++i) {
        const float x0 = 10.0f * i, x1 = x0 + 10.0f;
        vertices.insert(vertices.end(), {CVector3(x0, 1, 0), CVector3(x0, 1, 10), CVector3(x1, 1, 0),
                                         CVector3(x1, 1, 0), CVector3(x0, 1, 10), CVector3(x1, 1, 10)});
    }
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(vertices);
    mesh.ComputeNeighbours();
    return mesh;
}

TEST(CollisionMeshTest, HintFollowsTheObjectAcrossTriangleBoundaries)
{
    const CCollisionMesh mesh = MakeStrip();
    CTerrainHint hint;
    const struct { float x, z; int current, previous; const char* what; } steps[] = {
        {2.0f, 2.0f, 0, -1, "the first query"},
        {8.0f, 8.0f, 1, 0, "into the neighbour across the diagonal: the old one kept"},
        {2.0f, 2.0f, 0, 1, "back again: the previous triangle answers and the two swap"},
        {18.0f, 8.0f, 3, 0, "a jump past the neighbours falls back to the full scan"},
        {18.5f, 8.5f, 3, 0, "staying put changes nothing"},
    };
    for (const auto& step : steps)
    {
        CVector3 normal;
        EXPECT_FLOAT_EQ(mesh.GetTerrainHeight(step.x, step.z, &hint, normal), 1.0f) << step.what;
        EXPECT_TRUE(hint.current == step.current && hint.previous == step.previous) << step.what;
    }
}

TEST(CollisionMeshTest, OtherHintLeadsTheWayAndStaleHintsAreHarmless)
{
    const CCollisionMesh mesh = MakeStrip();
    CTerrainHint model{3, -1, nullptr};
    CTerrainHint camera{-1, 99, &model}; // 99: left over from a larger mesh
    CVector3 normal;
    EXPECT_FLOAT_EQ(mesh.GetTerrainHeight(12.0f, 2.0f, &camera, normal), 1.0f);
    EXPECT_EQ(camera.current, 2);
    EXPECT_EQ(camera.previous, -1);
    EXPECT_EQ(model.current, 3); // the other hint is only read

    CTerrainHint garbage{1000000, -7, nullptr};
    EXPECT_FLOAT_EQ(mesh.GetTerrainHeight(2.0f, 2.0f, &garbage, normal), 1.0f);
    EXPECT_EQ(garbage.current, 0);
}

TEST(CollisionMeshTest, PointsOutsideTheMeshOrOnAnEmptyMeshAreAtZeroFacingUp)
{
    const CCollisionMesh strip = MakeStrip();
    const CCollisionMesh empty;
    for (const CCollisionMesh* mesh : {&strip, &empty})
        for (const float x : {-0.01f, 25.0f, 1.0e30f, -1.0e30f}) {
            CTerrainHint hint{0, 1, nullptr};
            for (CTerrainHint* used : {static_cast<CTerrainHint*>(nullptr), &hint})
            {
                CVector3 normal(5, 5, 5);
                EXPECT_EQ(mesh->GetTerrainHeight(x, 5.0f, used, normal), 0.0f);
                EXPECT_EQ(normal, CVector3(0, 1, 0));
            }
            EXPECT_TRUE(hint.current == 0 && hint.previous == 1) << "the hint is not moved";
        }
}

// HeightQueryFarFromTheTerrainScansTheWholeMesh: kestro-fdm --start 1e6,0,0 ran at a quarter of
// real time. Outside the extent the query does not scan; inside it the extent covers every edge.
TEST(CollisionMeshTest, TheExtentCoversTheTrianglesAndNothingElse)
{
    const CCollisionMesh strip = MakeStrip();
    for (const auto& [x, z] : {std::pair{0.0f, 0.0f}, {20.0f, 10.0f}, {15.0f, 5.0f}})
        EXPECT_TRUE(strip.Covers(x, z)) << x << " " << z;
    for (const auto& [x, z] : {std::pair{1.0e6f, 0.0f}, {-0.01f, 5.0f}, {5.0f, 10.01f}, {NAN, 5.0f}})
        EXPECT_FALSE(strip.Covers(x, z)) << x << " " << z;
    EXPECT_FALSE(CCollisionMesh().Covers(0.0f, 0.0f));
    CCollisionMesh copy;
    copy.SetTriangles(std::vector<CColTriangle>(strip.GetTriangles()));
    EXPECT_TRUE(copy.Covers(20.0f, 10.0f)) << "the cache reader's triangles too";
}

TEST(CollisionMeshTest, SetCurrentTriangleStaysInsideTheMesh)
{
    CCollisionMesh mesh = MakeStrip();
    const int cases[][2] = {{-5, 0}, {2, 2}, {4, 3}, {1000, 3}};
    for (const auto& test : cases) {
        mesh.SetCurrentTriangle(test[0]);
        EXPECT_EQ(mesh.GetCurrentTriangle(), test[1]) << test[0];
    }
    CCollisionMesh empty;
    empty.SetCurrentTriangle(7);
    EXPECT_EQ(empty.GetCurrentTriangle(), 0);
}

// An object walking over a terrain with its hint finds the same ground as a full scan.
TEST(CollisionMeshTest, HintedWalkAgreesWithTheFullScan)
{
    const std::vector<CVector3> vertices = testterrain::MakeTerrain(40, 40, 0, false);
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(vertices);
    mesh.ComputeNeighbours();
    // The walk bounces off a margin inside the terrain's edges, so the ground is always there.
    float lo = 0.0f, hi = 0.0f;
    for (const CVector3& v : vertices) {
        lo = std::min({lo, v.x, v.z});
        hi = std::max({hi, v.x, v.z});
    }
    lo = lo / 2.0f;
    hi = hi / 2.0f;
    testterrain::CGenerator generator(3);
    CTerrainHint hint;
    float x = 0.0f, z = 0.0f, dx = 0.6f, dz = 0.45f;
    for (int step = 0; step < 2000; ++step) {
        dx = x + dx < lo || x + dx > hi ? -dx : dx;
        dz = z + dz < lo || z + dz > hi ? -dz : dz;
        x += dx + static_cast<float>(generator.Uniform(-0.2, 0.2));
        z += dz + static_cast<float>(generator.Uniform(-0.2, 0.2));
        CVector3 hintedNormal, scannedNormal;
        const float hinted = mesh.GetTerrainHeight(x, z, &hint, hintedNormal);
        const float scanned = mesh.GetTerrainHeight(x, z, nullptr, scannedNormal);
        ASSERT_NEAR(hinted, scanned, 1e-3f) << "step " << step << " at " << x << ", " << z;
        ASSERT_GE(hint.current, 0);
        float height;
        CVector3 normal;
        ASSERT_TRUE(mesh.GetTriangles()[hint.current].TestTriangle(x, z, height, normal)) << "step " << step;
        EXPECT_GT(hintedNormal.y, 0.0f);
    }
}

// The scan without a usable hint only tries the triangles of the point's grid cell; answer,
// normal and hint must come out exactly as from trying every triangle in index order. Meshes: a
// terrain with a hole, loose and degenerate triangles and one big triangle over everything last
// (it wins where it covers), and a mesh of big overlapping triangles, which the plain scan serves.
TEST(CollisionMeshTest, ScanAgreesWithTryingEveryTriangle)
{
    std::vector<CVector3> terrain = testterrain::MakeTerrain(40, 40, 300, true);
    terrain.erase(terrain.begin() + 6 * (20 * 40 + 15), terrain.begin() + 6 * (20 * 40 + 22)); // the hole
    terrain.insert(terrain.end(), {CVector3(-50, 30, -50), CVector3(-50, 30, 60), CVector3(40, 35, -50)});
    std::vector<CVector3> overlapping;
    testterrain::CGenerator shapes(5);
    for (int k = 0; k < 300; ++k)
        for (int v = 0; v < 3; ++v)
            overlapping.emplace_back(static_cast<float>(shapes.Uniform(-100, 100)), static_cast<float>(shapes.Uniform(0, 9)),
                                     static_cast<float>(shapes.Uniform(-100, 100)));
    for (const std::vector<CVector3>* vertices : {&terrain, &overlapping}) {
        CCollisionMesh mesh;
        mesh.BuildFromTriangleList(*vertices);
        float lo = 0.0f, hi = 0.0f, top = 0.0f;
        for (const CVector3& v : *vertices)
            if (std::isfinite(v.x) && std::isfinite(v.z)) {
                top = std::max(top, v.y);
                lo = std::min({lo, v.x, v.z});
                hi = std::max({hi, v.x, v.z});
            }
        std::vector<std::pair<float, float>> points;
        testterrain::CGenerator generator(11);
        for (int k = 0; k < 6000; ++k)
            points.emplace_back(static_cast<float>(generator.Uniform(lo, hi)), static_cast<float>(generator.Uniform(lo, hi)));
        for (size_t k = 0; k + 1 < vertices->size(); k += 7) // on vertices and edges
            points.emplace_back((*vertices)[k].x, (*vertices)[k].z);
        int answered = 0, below = 0;
        for (const auto& [x, z] : points) {
            CTerrainHint expectedHint{-1, -1, nullptr}, hint = expectedHint;
            float expected = 0.0f, height = 0.0f;
            CVector3 expectedNormal(0, 1, 0), normal;
            for (int i = 0; i < mesh.GetTriangleCount(); ++i)
                if (mesh.GetTriangles()[i].TestTriangle(x, z, height, normal)) {
                    expected = height;
                    expectedNormal = normal;
                    expectedHint = {i, expectedHint.current, nullptr};
                }
            height = mesh.GetTerrainHeight(x, z, &hint, normal);
            ASSERT_EQ(std::memcmp(&height, &expected, sizeof height), 0) << x << ", " << z;
            ASSERT_EQ(normal, expectedNormal) << x << ", " << z;
            ASSERT_EQ(hint.current, expectedHint.current) << x << ", " << z;
            ASSERT_EQ(hint.previous, expectedHint.previous) << x << ", " << z;
            ASSERT_LE(expected, mesh.GetGroundCeiling(x, z)) << x << ", " << z;
            below += mesh.GetGroundCeiling(x, z) < top;
            answered += expectedHint.current >= 0;
        }
        EXPECT_GT(answered, static_cast<int>(points.size()) / 2);
        EXPECT_GT(below, vertices == &terrain ? static_cast<int>(points.size()) / 2 : -1); // per cell (no grid: none)
    }
    EXPECT_EQ(CCollisionMesh().GetGroundCeiling(0, 0), INFINITY);
}

// The grid search must give exactly the lists of the pair loop, order included, on a terrain
// of real size with cells from 0.15 m to 30 m, loose near-touching triangles and degenerate ones.
TEST(CollisionMeshTest, GridNeighboursEqualThePairwiseDefinition)
{
    const std::vector<CVector3> vertices = testterrain::MakeTerrain(100, 100, 600, true);
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(vertices);
    CDiagCapture quiet; // the search's progress lines
    mesh.ComputeNeighbours();
    size_t pairs = 0;
    for (const CColTriangle& triangle : mesh.GetTriangles())
        pairs += triangle.neighbours.size();
    pairs /= 2;
    EXPECT_GT(pairs, vertices.size() / 3); // a grid triangle touches about a dozen others
    ExpectPairwiseNeighbours(mesh);
}

TEST(CollisionMeshTest, GridNeighboursEqualThePairwiseDefinitionWhenVerticesPileUp)
{
    // Hundreds of copies of the same small fan: every cell of the grid is crowded.
    std::vector<CVector3> vertices;
    for (int copy = 0; copy < 300; ++copy)
        for (int k = 0; k < 3; ++k) {
            const float angle = static_cast<float>(k + copy % 7) * 0.9f;
            vertices.insert(vertices.end(), {CVector3(0, 0, 0), CVector3(0.3f * std::cos(angle), 0, 0.3f * std::sin(angle)),
                                             CVector3(0.3f * std::cos(angle + 0.9f), 0.01f * copy, 0.3f * std::sin(angle + 0.9f))});
        }
    CCollisionMesh mesh;
    mesh.BuildFromTriangleList(vertices);
    CDiagCapture quiet;
    mesh.ComputeNeighbours();
    ExpectPairwiseNeighbours(mesh);
}
} // namespace
