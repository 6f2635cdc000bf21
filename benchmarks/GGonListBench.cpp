// Selecting every facet of an edited polygon list of about 200,000 triangles, as a whole imported
// hull: the selection builds the shared points, one per place where corners meet.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "document/GeometryList.h"
#include "entities/GGonList.h"
#include "foundation/TextUtils.h"
#include "foundation/GeomFacet.h"

using namespace sarnova;

namespace {

// A curved sheet of 2 x N x N triangles, the corners of neighbouring facets at the same places.
std::unique_ptr<TGeoPGonlist> Sheet(int N) {
    auto Entity = std::make_unique<TGeoPGonlist>();
    const auto P = [N](int I, int J) {
        const double U = double(I) / N, V = double(J) / N;
        return TMVector{40 * U, 8 * std::sin(3 * V), 8 * std::cos(3 * V) + 0.1 * U * V};
    };
    for (int I = 0; I < N; ++I)
        for (int J = 0; J < N; ++J) {
            Entity->Facets().Add(TriangleFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1)));
            Entity->Facets().Add(TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I, J + 1)));
        }
    return Entity;
}

void BM_SelectAllFacets(benchmark::State& State) {
    // Entities read the program settings, which need the program's folders.
    InitializeProgramFolders("");
    TGeometryList Doc;
    auto* List = static_cast<TGeoPGonlist*>(Doc.Add(Sheet(316)));
    Doc.SetEditedGeometry(List);
    for (auto _ : State) {
        List->SelectAllPoints();
        benchmark::DoNotOptimize(List->SharedPoints().Count());
    }
    State.counters["facets"] = List->Facets().Count();
    State.counters["shared"] = List->SharedPoints().Count();
    Doc.SetEditedGeometry(nullptr);
}
BENCHMARK(BM_SelectAllFacets)->Unit(benchmark::kMillisecond);

}  // namespace
