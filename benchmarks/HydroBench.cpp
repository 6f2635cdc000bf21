// Timings of the hydrostatics of a Wigley hull: the mesh method on 400,000 facets, a table of 50
// draughts, and calculation sections of 200,000 facets integrated by the section method.
#include <benchmark/benchmark.h>

#include "foundation/Polygon.h"
#include "naval/CalcSections.h"
#include "naval/HullMeshes.h"
#include "naval/VkHydro.h"

using namespace sarnova;

namespace {

constexpr double L = 100, B = 10, T = 6.25;

const TPolygonList& Wigley400k() {
    static const auto Mesh = WigleyHull(L, B, T, 500, 200);
    return *Mesh;
}

const TPolygonList& Wigley200k() {
    static const auto Mesh = WigleyHull(L, B, T, 500, 100);
    return *Mesh;
}

void BM_MeshHydrostatics400k(benchmark::State& State) {
    const TPolygonList& Mesh = Wigley400k();
    for (auto _ : State) {
        THydrostaticsData R;
        ResetHydrostatics(R);
        MeshHydrostatics(Mesh, R);
        benchmark::DoNotOptimize(R.Volume);
    }
}
BENCHMARK(BM_MeshHydrostatics400k)->Unit(benchmark::kMillisecond);

// The table of the hydrostatic table window: the hull's calculation sections once, then the section
// summary at 50 draughts from the keel to the deck.
void BM_HydrostaticTable50Draughts400k(benchmark::State& State) {
    const TPolygonList& Mesh = Wigley400k();
    for (auto _ : State) {
        const auto Sections = CalculationSectionsOf(&Mesh);
        double Sum = 0;
        for (int I = 1; I <= 50; ++I) {
            THydrostaticsData R;
            ResetHydrostatics(R);
            Sections->HydrostaticSummary(WaterplaneAtDraught(T * I / 50), R);
            Sum += R.Displacement;
        }
        benchmark::DoNotOptimize(Sum);
    }
}
BENCHMARK(BM_HydrostaticTable50Draughts400k)->Unit(benchmark::kMillisecond);

void BM_CalculationSections200k(benchmark::State& State) {
    const TPolygonList& Mesh = Wigley200k();
    for (auto _ : State) {
        const auto Sections = CalculationSectionsOf(&Mesh);
        THydrostaticsData R;
        ResetHydrostatics(R);
        Sections->HydrostaticSummary(WaterplaneAtDraught(T), R);
        benchmark::DoNotOptimize(R.Volume);
        State.counters["sections"] = Sections->Count();
    }
}
BENCHMARK(BM_CalculationSections200k)->Unit(benchmark::kMillisecond);

}  // namespace
