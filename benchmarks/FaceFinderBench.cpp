// The face finder on a hull-like network: Stations transverse curves crossed by Longitudinals
// longitudinal ones, half a hull from keel to sheer, the ends closed by the first and last station.
// One iteration builds the graph (not timed) and finds its faces.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "curvenet/FaceFinder.h"

namespace {

using namespace sarnova;

void BuildHullNetwork(TManifold& M, int Stations, int Longitudinals) {
    std::vector<TVertex*> V;
    for (int S = 0; S < Stations; ++S)
        for (int L = 0; L < Longitudinals; ++L) {
            const double Angle = M_PI / 2 * L / (Longitudinals - 1);
            const double Beam = 1 + 0.5 * std::sin(M_PI * S / (Stations - 1));
            V.push_back(M.AddVertex({double(S), Beam * std::sin(Angle), -std::cos(Angle)}));
        }
    auto At = [&](int S, int L) { return V[static_cast<std::size_t>(S * Longitudinals + L)]; };
    for (int S = 0; S < Stations; ++S)
        for (int L = 0; L < Longitudinals; ++L) {
            if (L + 1 < Longitudinals) M.AddEdge(At(S, L), At(S, L + 1));
            if (S + 1 < Stations) M.AddEdge(At(S, L), At(S + 1, L));
        }
}

void BM_FindFacesHull(benchmark::State& State) {
    const int Stations = static_cast<int>(State.range(0));
    const int Longitudinals = static_cast<int>(State.range(1));
    for (auto _ : State) {
        State.PauseTiming();
        TManifold M;
        BuildHullNetwork(M, Stations, Longitudinals);
        State.ResumeTiming();
        benchmark::DoNotOptimize(FindFaces(M, true));
        State.PauseTiming();
        if (M.Faces().Count() != (Stations - 1) * (Longitudinals - 1) + 1) State.SkipWithError("wrong face count");
        State.ResumeTiming();
    }
}
BENCHMARK(BM_FindFacesHull)->Args({40, 12})->Args({80, 24})->Unit(benchmark::kMillisecond);

}  // namespace
