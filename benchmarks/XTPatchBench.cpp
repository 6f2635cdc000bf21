// The analytic four-sided patches of a curve-network face, sampled as the surface sampling does:
// a 200 x 200 grid row by row (one u per row), so that the side samples are taken once per row for
// sides 0 and 2 and the caches keep them. The face is a curved quad whose first side has seven
// control points and whose ribbons make full cubic cross derivatives.
#include <benchmark/benchmark.h>

#include <memory>

#include "curvenet/PatchEdgeFixtures.h"
#include "curvenet/XTCoonsBrownPatch.h"
#include "curvenet/XTCoonsGregoryPatch.h"
#include "curvenet/XTSurfaceOptions.h"

namespace {

using namespace sarnova;

constexpr int Grid = 200;

template <typename TPatch, bool Derivatives>
void BM_SamplePatch(benchmark::State& State) {
    test::TCurvedQuad Face;
    TXTPatchEdges Edges;
    Edges.Build(*Face.Face, TXTSurfaceOptions{});
    TPatch Patch(Edges);
    for (auto _ : State) {
        for (int I = 0; I <= Grid; ++I) {
            const double U = static_cast<double>(I) / Grid;
            for (int J = 0; J <= Grid; ++J) {
                const double V = static_cast<double>(J) / Grid;
                if constexpr (Derivatives)
                    benchmark::DoNotOptimize(Patch.EvaluateDerivatives(U, V));
                else
                    benchmark::DoNotOptimize(Patch.Evaluate(U, V));
            }
        }
    }
    State.SetItemsProcessed(State.iterations() * (Grid + 1) * (Grid + 1));
}

BENCHMARK(BM_SamplePatch<TXTCoonsBrownPatch, true>)->Name("CoonsBrown/Derivatives")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SamplePatch<TXTCoonsGregoryPatch, true>)->Name("CoonsGregory/Derivatives")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SamplePatch<TXTCoonsBrownPatch, false>)->Name("CoonsBrown/Points")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SamplePatch<TXTCoonsGregoryPatch, false>)->Name("CoonsGregory/Points")->Unit(benchmark::kMillisecond);

}  // namespace
