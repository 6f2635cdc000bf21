// The subdivision patch of a six-sided face with bulging sides: one iteration builds the initial
// manifold and refines it Levels times (5 in the subdivision preset), then makes its polygons.
#include <benchmark/benchmark.h>

#include <vector>

#include "curvenet/XTPatchFixtures.h"
#include "curvenet/XTSubDivisionPatch.h"
#include "foundation/Polygon.h"

namespace {

using namespace sarnova;

std::vector<TMVector> Bulging(const TMVector& A, const TMVector& B) {
    const TMVector Out = VectorScale(VectorCross(VectorFromTo(A, B), {0, 0, 1}), 0.2);
    return {A, VectorAdd(VectorLerp(A, B, 1.0 / 3), Out), VectorAdd(VectorLerp(A, B, 2.0 / 3), Out), B};
}

void BM_SubdivisionPatchSixSided(benchmark::State& State) {
    const int Levels = static_cast<int>(State.range(0));
    test::TXTPatchFace Face(test::RegularPolygon(6), Bulging);
    for (auto _ : State) {
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = Levels;
        Patch.Generate();
        auto Polygons = Patch.CreatePolygons();
        benchmark::DoNotOptimize(Polygons.get());
        if (Polygons->Count() != 6 << (2 * (Levels - 1))) State.SkipWithError("wrong quadrilateral count");
    }
}
BENCHMARK(BM_SubdivisionPatchSixSided)->Arg(3)->Arg(5)->Unit(benchmark::kMillisecond);

}  // namespace
