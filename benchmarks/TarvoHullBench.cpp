// One trial of the parametric hull's fit: the fullness of both bodies set, the surface lofted again,
// the bulb grafted and the underwater body's hydrostatics computed from its facets.
#include <benchmark/benchmark.h>

#include "foundation/Console.h"
#include "hulls/TarvoHullFixture.h"

using namespace sarnova;

namespace {

void BM_TarvoHullSetFullness(benchmark::State& State) {
    // The trials write a console line each: not part of the timing.
    std::unique_ptr<TConsole> Quiet = std::move(GConsole);
    test::TTestHull T;
    T.Hull->SetApplyBulb(true);
    T.Hull->Update();
    double F = 0.25;
    for (auto _ : State) {
        T.Hull->SetFullness(F, 1 - F);
        benchmark::DoNotOptimize(T.Hull->Hydrostatics().Displacement);
        F = F > 0.7 ? 0.25 : F + 0.1;
    }
    GConsole = std::move(Quiet);
}
BENCHMARK(BM_TarvoHullSetFullness)->Unit(benchmark::kMillisecond);

}  // namespace
