// Timings of mesh slicing and mesh-mesh intersection on meshes of about 200,000 triangles, the size
// a faired hull gives at a fine display setting; the heap a facet list takes per triangle.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "foundation/SlotPool.h"

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

// Heap per triangle of a facet list of about Range(0) triangles, against the raw bytes of the
// same mesh: its corner coordinates (3 x 24 bytes a triangle, the measure of a list whose facets
// share no corners) and an indexed mesh (each vertex once, three 4-byte indices a triangle).
void BM_PolygonListMemory(benchmark::State& State) {
    const int Slices = static_cast<int>(std::lround(std::sqrt(State.range(0))));
    std::size_t Heap = 0;
    int Facets = 0;
    for (auto _ : State) {
        // Pooled objects count by the slots they take, not by the blocks the pools hold: a slot freed
        // by an earlier run is used again without touching the heap.
        const struct mallinfo2 Before = mallinfo2();
        const TSlotPoolBytes PoolBefore = SlotPoolBytes();
        auto Mesh = Sphere({0, 0, 0}, 10, Slices, Slices / 2);
        const struct mallinfo2 After = mallinfo2();
        const TSlotPoolBytes PoolAfter = SlotPoolBytes();
        Heap = (After.uordblks + After.hblkhd) - (Before.uordblks + Before.hblkhd) -
               (PoolAfter.Reserved - PoolBefore.Reserved) + (PoolAfter.InUse - PoolBefore.InUse);
        Facets = Mesh->Count();
    }
    const double Vertices = static_cast<double>(Slices) * (Slices / 2 - 1) + 2;
    const double PerFacet = static_cast<double>(Heap) / Facets;
    State.counters["facets"] = Facets;
    State.counters["bytes_per_facet"] = PerFacet;
    State.counters["x_corners"] = PerFacet / (3 * 3 * sizeof(double));
    State.counters["x_indexed"] = Heap / (Vertices * 3 * sizeof(double) + Facets * 3 * sizeof(std::int32_t));
    State.SetComplexityN(Facets);
}
BENCHMARK(BM_PolygonListMemory)->Arg(31250)->Arg(125000)->Arg(500000)->Arg(2000000)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

namespace {

// Moving a whole mesh, as MOVE and the mirror of a half hull do: a transformed copy taken over by
// the mesh.
void BM_TransformMesh(benchmark::State& State) {
    const TPolygonList& Mesh = BigSphere();
    TPolygonList Moved;
    for (auto _ : State) {
        Moved.Assign(*Mesh.Transformed(MatrixTranslation(1, 2, 3)));
        benchmark::DoNotOptimize(Moved.Count());
    }
    State.counters["facets"] = Mesh.Count();
}
BENCHMARK(BM_TransformMesh)->Unit(benchmark::kMillisecond);

}  // namespace
