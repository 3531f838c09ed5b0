// Airfoil coefficient lookups: the mean time of one lookup over the whole angle range, as every
// wing segment and propeller blade element does several times per sub-step. Run from the
// repository root (or with KESTRO_SOURCE_DIR set) so that it finds Data/Airfoil/.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "data/CFile.h"
#include "model/CAirfoil.h"

namespace
{
void Lookups(benchmark::State& state, const CAirfoil* airfoil)
{
    constexpr int kSteps = 1000; // angles across -180 .. 180 deg
    int step = 0;
    for (auto _ : state)
    {
        const float alphaRad = (static_cast<float>(step) / (kSteps - 1) * 360.0f - 180.0f) / 57.295776f;
        step = (step + 1) % kSteps;
        float cl, cd, cp;
        airfoil->GetCoefficients(alphaRad, cl, cd, cp);
        benchmark::DoNotOptimize(cl);
        benchmark::DoNotOptimize(cd);
        benchmark::DoNotOptimize(cp);
    }
}
} // namespace

int main(int argc, char** argv)
{
    const char* root = std::getenv("KESTRO_SOURCE_DIR");
    if (root != nullptr)
        std::filesystem::current_path(root);
    InitBaseDirectory();
    static CAirfoil airfoils[2];
    const char* names[2] = {"ClarkY.afl", "NACA0012.afl"};
    for (int i = 0; i < 2; ++i)
    {
        std::string reason;
        if (!airfoils[i].Load(names[i], &reason))
        {
            std::fprintf(stderr, "Data/Airfoil/%s: %s\n", names[i], reason.c_str());
            return 1;
        }
        benchmark::RegisterBenchmark((std::string("Lookup/") + names[i]).c_str(), Lookups, &airfoils[i]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
