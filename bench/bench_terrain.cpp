// Terrain collision: neighbour search (pairwise and grid) and height queries with and without
// a hint, on a generated terrain of about 20k triangles and on the real flying site.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <osg/Node>
#include <osgDB/ReadFile>

#include "core/Diagnostics.h"
#include "env/CCollisionMesh.h"
#include "env/GeneratedTerrain.h"
#include "env/TerrainGeometry.h"

namespace
{
struct CTerrainCase
{
    std::vector<CVector3> vertices;
    CCollisionMesh mesh;          // with neighbours
    std::vector<CVector3> path;   // query points (x, z) of an object moving over the terrain
};

void Prepare(CTerrainCase& terrain)
{
    terrain.mesh.BuildFromTriangleList(terrain.vertices);
    terrain.mesh.ComputeNeighbours();
    // A model flying circles over the middle half, 0.5 m between queries (a sub-step at 100 m/s).
    float lo = 0.0f, hi = 0.0f;
    for (const CVector3& v : terrain.vertices) {
        lo = std::min({lo, v.x, v.z});
        hi = std::max({hi, v.x, v.z});
    }
    const float radius = (hi - lo) / 4.0f;
    const float centre = (hi + lo) / 2.0f;
    const int steps = static_cast<int>(2.0f * 3.14159265f * radius / 0.5f);
    for (int i = 0; i < steps; ++i) {
        const float angle = 2.0f * 3.14159265f * static_cast<float>(i) / static_cast<float>(steps);
        terrain.path.emplace_back(centre + radius * std::cos(angle), 0.0f, centre + radius * std::sin(angle));
    }
}

void NeighboursPairwise(benchmark::State& state, CTerrainCase* terrain)
{
    for (auto _ : state) {
        state.PauseTiming();
        CCollisionMesh mesh;
        mesh.BuildFromTriangleList(terrain->vertices);
        state.ResumeTiming();
        mesh.ComputeNeighboursPairwise();
        benchmark::DoNotOptimize(mesh.GetTriangles().data());
    }
    state.counters["triangles"] = static_cast<double>(terrain->vertices.size() / 3);
}

// Also counts the search's running progress lines, which are throttled to about one a second
// (not one per hundred pairs): "progress_lines" should stay near the seconds taken.
void NeighboursGrid(benchmark::State& state, CTerrainCase* terrain)
{
    int progressLines = 0;
    SetDiagnosticSink([&progressLines](const std::string& line) {
        progressLines += line.rfind("Computing neighbours: ", 0) == 0 ? 1 : 0;
    });
    for (auto _ : state) {
        state.PauseTiming();
        CCollisionMesh mesh;
        mesh.BuildFromTriangleList(terrain->vertices);
        state.ResumeTiming();
        mesh.ComputeNeighbours();
        benchmark::DoNotOptimize(mesh.GetTriangles().data());
    }
    SetDiagnosticSink([](const std::string&) {});
    state.counters["triangles"] = static_cast<double>(terrain->vertices.size() / 3);
    state.counters["progress_lines"] = benchmark::Counter(progressLines, benchmark::Counter::kAvgIterations);
}

void HeightWithHint(benchmark::State& state, CTerrainCase* terrain)
{
    CTerrainHint hint;
    size_t next = 0;
    CVector3 normal;
    for (auto _ : state) {
        const CVector3& p = terrain->path[next];
        next = next + 1 == terrain->path.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(terrain->mesh.GetTerrainHeight(p.x, p.z, &hint, normal));
    }
}

void HeightWithoutHint(benchmark::State& state, CTerrainCase* terrain)
{
    size_t next = 0;
    CVector3 normal;
    for (auto _ : state) {
        const CVector3& p = terrain->path[next];
        next = next + 1 == terrain->path.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(terrain->mesh.GetTerrainHeight(p.x, p.z, nullptr, normal));
    }
}

// A model flown far off the site (kestro-fdm --start 1e6,0,0): every query misses the terrain.
void HeightFarOutside(benchmark::State& state, CTerrainCase* terrain)
{
    CTerrainHint hint;
    CVector3 normal;
    for (auto _ : state)
        benchmark::DoNotOptimize(terrain->mesh.GetTerrainHeight(1.0e6f, 0.0f, &hint, normal));
}

// The real flying site's reshaped triangles, or false when the file is not there.
bool LoadFlyingSite(std::vector<CVector3>& outVertices)
{
    const char* root = std::getenv("KESTRO_SOURCE_DIR");
    const std::filesystem::path path =
        std::filesystem::path(root != nullptr ? root : ".") / "Data" / "3D" / "FlyingSite.osg";
    if (!std::filesystem::exists(path))
        return false;
    osg::ref_ptr<osg::Node> scene = osgDB::readRefNodeFile(path.string());
    osg::Node* terrain = scene ? FindNamedNode(*scene, "terrain") : nullptr;
    std::string error;
    if (terrain == nullptr || !ReshapeTerrainTriangles(*terrain, path.string(), outVertices, error)) {
        std::fprintf(stderr, "%s: not usable: %s\n", path.string().c_str(), error.c_str());
        return false;
    }
    return true;
}

void Register(const std::string& name, CTerrainCase* terrain)
{
    benchmark::RegisterBenchmark(("NeighboursPairwise/" + name).c_str(), NeighboursPairwise, terrain)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark(("NeighboursGrid/" + name).c_str(), NeighboursGrid, terrain)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("HeightWithHint/" + name).c_str(), HeightWithHint, terrain);
    benchmark::RegisterBenchmark(("HeightWithoutHint/" + name).c_str(), HeightWithoutHint, terrain)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("HeightFarOutside/" + name).c_str(), HeightFarOutside, terrain);
}
} // namespace

int main(int argc, char** argv)
{
    SetDiagnosticSink([](const std::string&) {}); // the neighbour search reports its progress
    CTerrainCase generated;
    generated.vertices = testterrain::MakeTerrain(100, 100, 0, false);
    Prepare(generated);
    Register("generated", &generated);
    CTerrainCase site;
    if (LoadFlyingSite(site.vertices)) {
        Prepare(site);
        Register("FlyingSite", &site);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
