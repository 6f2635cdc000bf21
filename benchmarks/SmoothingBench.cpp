// Timing of the vertex-normal smoothing that prepares a shaded facet list (the renderer smooths with
// a crease angle of 45 degrees), on spheres of 75,000 and 300,000 triangles: the time should grow
// with the facet count, not faster.
#include <benchmark/benchmark.h>

#include <numbers>

#include "foundation/Smoothing.h"
#include "foundation/SphereFacets.h"

using namespace sarnova;

namespace {

void BM_SmoothPolygonNormals(benchmark::State& State) {
    // Segments x (2 Rings - 2) facets.
    const auto Sphere = SphereFacets(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)), 10.0);
    for (auto _ : State) {
        SmoothPolygonNormals(*Sphere, std::numbers::pi / 4);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * Sphere->Count());
}
BENCHMARK(BM_SmoothPolygonNormals)->Args({250, 151})->Args({500, 301})->Unit(benchmark::kMillisecond);

}  // namespace
