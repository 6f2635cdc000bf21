// Timings of contouring a large mesh at many levels, as the contour display of a fine hull asks for.
#include <benchmark/benchmark.h>

#include <cmath>

#include "foundation/Contours.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"

using namespace sarnova;

namespace {

// An egg-box surface over the unit square from a 400 x 400 grid: 320,000 triangles whose cuts fall
// apart into many small loops, the hard case for chaining.
const TPolygonList& EggBox() {
    static const auto Mesh = [] {
        auto M = std::make_unique<TPolygonList>();
        const int N = 400;
        auto Node = [N](int I, int J) {
            const double X = double(I) / N, Y = double(J) / N;
            return TMVector{X, Y, std::sin(60 * X) * std::sin(60 * Y) + 0.3 * X};
        };
        for (int I = 0; I < N; ++I)
            for (int J = 0; J < N; ++J) {
                M->Add(TriangleFromVectors(Node(I, J), Node(I + 1, J), Node(I + 1, J + 1)));
                M->Add(TriangleFromVectors(Node(I, J), Node(I + 1, J + 1), Node(I, J + 1)));
            }
        return M;
    }();
    return *Mesh;
}

void BM_ContoursAtManyLevels(benchmark::State& State) {
    const TPolygonList& Mesh = EggBox();
    TContours Set;
    Set.AddContourRange(0, 49, 0.01, 0.99);
    Set.AddContourRange(1, 49, 0.01, 0.99);
    Set.AddContourRange(2, 99, -0.95, 1.25);
    int Lines = 0;
    for (auto _ : State) {
        auto Result = ContoursFromPolygons(&Mesh, Set, TContourColors{});
        Lines = Result ? Result->Count() : 0;
        benchmark::DoNotOptimize(Result);
    }
    State.counters["facets"] = Mesh.Count();
    State.counters["levels"] = Set.Count();
    State.counters["lines"] = Lines;
}
BENCHMARK(BM_ContoursAtManyLevels)->Unit(benchmark::kMillisecond);

}  // namespace
