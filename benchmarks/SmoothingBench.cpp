// The vertex-normal smoothing that prepares a shaded facet list (the renderer smooths with a crease
// angle of 45 degrees) on spheres of 75,000, 300,000 and 1,200,000 triangles, against a plain hashed
// vertex merge with area-weighted normals over the same facets. The counter vs_plain_merge is the
// ratio of the two times (goal: at most 1.5); the time per facet should not grow with the size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>
#include <vector>

#include "BenchRatio.h"
#include "foundation/GeomFacet.h"
#include "foundation/Smoothing.h"
#include "foundation/SphereFacets.h"

using namespace sarnova;

namespace {

// The baseline: corners merged by their positions rounded to the tolerance, one hash probe each;
// every facet adds its area-weighted normal to its three vertices, and every corner gets the
// normalised sum of its vertex. No creases.
void PlainHashedNormals(TPolygonList& List) {
    struct TKey {
        std::int64_t X, Y, Z;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& K) const noexcept {
            return std::hash<std::int64_t>{}(K.X * 73856093 ^ K.Y * 19349663 ^ K.Z * 83492791);
        }
    };
    const auto Quantised = [](const TMVector& P) {
        return TKey{std::llround(P.X / DefaultTolerance), std::llround(P.Y / DefaultTolerance),
                    std::llround(P.Z / DefaultTolerance)};
    };
    const std::size_t Facets = static_cast<std::size_t>(List.Count());
    std::unordered_map<TKey, int, THash> Vertices;
    Vertices.reserve(Facets);
    std::vector<int> CornerVertex(3 * Facets);
    std::vector<TMVector> Sums;
    Sums.reserve(Facets);
    for (std::size_t I = 0; I < Facets; ++I) {
        const TFacetRef F = List.Polygon(static_cast<int>(I));
        const TMVector A = F.Corner(0)->Vector(), B = F.Corner(1)->Vector(), C = F.Corner(2)->Vector();
        const TMVector N = VectorCross(VectorFromTo(A, C), VectorFromTo(A, B));
        for (int K = 0; K < 3; ++K) {
            const auto [It, New] = Vertices.try_emplace(Quantised(K == 0 ? A : K == 1 ? B : C), static_cast<int>(Sums.size()));
            if (New) Sums.push_back({});
            Sums[static_cast<std::size_t>(It->second)] = VectorAdd(Sums[static_cast<std::size_t>(It->second)], N);
            CornerVertex[3 * I + static_cast<std::size_t>(K)] = It->second;
        }
    }
    for (TMVector& N : Sums) N = VectorNormalise(N);
    for (std::size_t I = 0; I < Facets; ++I)
        for (int K = 0; K < 3; ++K)
            List.Polygon(static_cast<int>(I))->SetNormal(K, Sums[static_cast<std::size_t>(CornerVertex[3 * I + static_cast<std::size_t>(K)])]);
}

// Segments x (2 Rings - 2) facets.
std::unique_ptr<TPolygonList> Sphere(const benchmark::State& State) {
    return SphereFacets(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)), 10.0);
}

void BM_SmoothPolygonNormals(benchmark::State& State) {
    const auto Facets = Sphere(State);
    const auto Smooth = [&] {
        SmoothPolygonNormals(*Facets, std::numbers::pi / 4);
        benchmark::ClobberMemory();
    };
    for (auto _ : State) Smooth();
    State.SetItemsProcessed(State.iterations() * Facets->Count());
    State.counters["vs_plain_merge"] = bench::BestRatio(Smooth, [&] {
        PlainHashedNormals(*Facets);
        benchmark::ClobberMemory();
    });
}

void BM_PlainHashedNormals(benchmark::State& State) {
    const auto Facets = Sphere(State);
    for (auto _ : State) {
        PlainHashedNormals(*Facets);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * Facets->Count());
}

}  // namespace

BENCHMARK(BM_SmoothPolygonNormals)->ArgNames({"segments", "rings"})->Args({250, 151})->Args({500, 301})->Args({1000, 601})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainHashedNormals)->ArgNames({"segments", "rings"})->Args({250, 151})->Args({500, 301})->Args({1000, 601})->Unit(benchmark::kMillisecond);
