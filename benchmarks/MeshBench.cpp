// Timings of mesh slicing and mesh-mesh intersection on meshes of about 200,000 triangles, the size
// a faired hull gives at a fine display setting.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"

using namespace sarnova;

namespace {

// A triangulated sphere of 2 x Slices x (Stacks - 1) triangles.
std::unique_ptr<TPolygonList> Sphere(const TMVector& Centre, double R, int Slices, int Stacks) {
    auto Mesh = std::make_unique<TPolygonList>();
    auto P = [&](int I, int J) {
        const double Theta = 2 * std::numbers::pi * I / Slices, Phi = std::numbers::pi * J / Stacks;
        return VectorAdd(Centre, {R * std::sin(Phi) * std::cos(Theta), R * std::sin(Phi) * std::sin(Theta),
                                  -R * std::cos(Phi)});
    };
    for (int J = 0; J < Stacks; ++J)
        for (int I = 0; I < Slices; ++I) {
            if (J > 0) Mesh->Add(TriangleFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1)));
            if (J < Stacks - 1) Mesh->Add(TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I, J + 1)));
        }
    return Mesh;
}

const TPolygonList& BigSphere() {
    static const auto Mesh = Sphere({0, 0, 0}, 10, 448, 224);
    return *Mesh;
}

void BM_SlicePlane(benchmark::State& State) {
    const TPolygonList& Mesh = BigSphere();
    // A general plane, so every facet goes through the side tests.
    const TMPlane Plane{VectorNormalise({0.1, 0.2, 1}), 1.234};
    for (auto _ : State) {
        auto Lines = IntersectPlaneWithPolygons(Plane, Mesh);
        benchmark::DoNotOptimize(Lines);
    }
    State.counters["facets"] = Mesh.Count();
}
BENCHMARK(BM_SlicePlane)->Unit(benchmark::kMillisecond);

void BM_SliceAxisPlanes(benchmark::State& State) {
    const TPolygonList& Mesh = BigSphere();
    for (auto _ : State) {
        // Ten stations across the sphere, as a contour display asks for.
        for (int K = 0; K < 10; ++K) {
            auto Lines = IntersectPlaneWithPolygons({{1, 0, 0}, -9 + 2 * K + 0.1}, Mesh);
            benchmark::DoNotOptimize(Lines);
        }
    }
}
BENCHMARK(BM_SliceAxisPlanes)->Unit(benchmark::kMillisecond);

void BM_IntersectMeshes(benchmark::State& State) {
    const TPolygonList& A = BigSphere();
    static const auto B = Sphere({6, 1, 0.5}, 8, 448, 224);
    for (auto _ : State) {
        auto Lines = IntersectPolygonLists(A, *B);
        benchmark::DoNotOptimize(Lines);
    }
    State.counters["facets"] = A.Count() + B->Count();
}
BENCHMARK(BM_IntersectMeshes)->Unit(benchmark::kMillisecond);

void BM_ClipByPlane(benchmark::State& State) {
    const TPolygonList& Mesh = BigSphere();
    for (auto _ : State) {
        auto Half = ClipPolygonsByPlane(Mesh, 0, {{0, 0, 1}, 1.234});
        benchmark::DoNotOptimize(Half);
    }
}
BENCHMARK(BM_ClipByPlane)->Unit(benchmark::kMillisecond);

}  // namespace
