// Timings of the hydrostatics of a Wigley hull: the mesh method on 400,000 facets, a table of 50
// draughts, and calculation sections of 200,000 facets integrated by the section method.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

#include "BenchRatio.h"

#include "foundation/Polygon.h"
#include "naval/CalcSections.h"
#include "naval/HullHydrostatics.h"
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

// ---- A hull's hydrostatics from its facets, against a plain pass ----

namespace {

// The Wigley hull of 25,000 x Scale facets (Scale 1, 4 or 16).
const TPolygonList& WigleyScaled(int Scale) {
    static std::map<int, std::unique_ptr<TPolygonList>> Made;
    auto& Slot = Made[Scale];
    if (!Slot) Slot = WigleyHull(L, B, T, 125 * (Scale >= 4 ? 2 : 1) * (Scale >= 16 ? 2 : 1),
                                  50 * (Scale >= 4 ? 2 : 1) * (Scale >= 16 ? 2 : 1));
    return *Slot;
}

// The facets as plain corner coordinates, nine doubles a triangle.
std::vector<double> PlainCorners(const TPolygonList& Mesh) {
    std::vector<double> C;
    C.reserve(9 * static_cast<std::size_t>(Mesh.Count()));
    for (int I = 0; I < Mesh.Count(); ++I)
        for (int K = 0; K < 3; ++K) {
            const auto& P = PolygonCornerOrOrigin(Mesh.Polygon(I), K);
            C.insert(C.end(), {P.X, P.Y, P.Z});
        }
    return C;
}

struct TPlainSums {
    double V = 0, Vx = 0, Vy = 0, Vz = 0, Aw = 0, Mx = 0, My = 0, Ixx = 0, Iyy = 0;
};

// One triangle's prism below the waterplane z = D: volume, moments, plan area, second moments.
void AddPlainTriangle(const double* A, const double* B, const double* C, double D, TPlainSums& S) {
    const double Az = -((B[0] - A[0]) * (C[1] - A[1]) - (B[1] - A[1]) * (C[0] - A[0])) / 2;
    const double Cx = (A[0] + B[0] + C[0]) / 3, Cy = (A[1] + B[1] + C[1]) / 3, H = D - (A[2] + B[2] + C[2]) / 3;
    S.V += Az * H;
    S.Vx += Az * H * Cx;
    S.Vy += Az * H * Cy;
    S.Vz += Az * H * H / 2;
    S.Aw += Az;
    S.Mx += Az * Cx;
    S.My += Az * Cy;
    S.Ixx += Az * (A[0] * A[0] + B[0] * B[0] + C[0] * C[0] + A[0] * B[0] + B[0] * C[0] + C[0] * A[0]) / 6;
    S.Iyy += Az * (A[1] * A[1] + B[1] * B[1] + C[1] * C[1] + A[1] * B[1] + B[1] * C[1] + C[1] * A[1]) / 6;
}

// The plain single pass: every triangle clipped by the waterplane z = D on the stack (the part
// below, fanned into triangles) and summed.
TPlainSums PlainPass(const std::vector<double>& Corners, double D) {
    TPlainSums S;
    for (std::size_t I = 0; I + 9 <= Corners.size(); I += 9) {
        const double* P[3] = {&Corners[I], &Corners[I + 3], &Corners[I + 6]};
        double Out[4][3];
        int N = 0;
        for (int K = 0; K < 3; ++K) {
            const double* A = P[K];
            const double* Bk = P[(K + 1) % 3];
            const bool InA = A[2] <= D, InB = Bk[2] <= D;
            if (InA) {
                Out[N][0] = A[0], Out[N][1] = A[1], Out[N][2] = A[2];
                ++N;
            }
            if (InA != InB) {
                const double T = (D - A[2]) / (Bk[2] - A[2]);
                for (int J = 0; J < 3; ++J) Out[N][J] = A[J] + T * (Bk[J] - A[J]);
                ++N;
            }
        }
        for (int K = 1; K + 1 < N; ++K) AddPlainTriangle(Out[0], Out[K], Out[K + 1], D, S);
    }
    return S;
}

// One draught asked of a hull made afresh (untimed): a hull keeps the stations it cut, so a hull
// asked the same draught again would be quicker than the first time.
void BM_HullHydrostaticsOneDraught(benchmark::State& State) {
    const TPolygonList& Mesh = WigleyScaled(static_cast<int>(State.range(0)));
    const std::vector<double> Corners = PlainCorners(Mesh);
    const double Draught = 0.8 * T;
    std::unique_ptr<THullHydrostatics> Hull;
    auto Fresh = [&] {
        Hull.reset();
        Hull = std::make_unique<THullHydrostatics>(&Mesh, "Wigley");
    };
    auto Measured = [&] {
        THydrostaticsData R;
        Hull->AtDraught(Draught, R);
        benchmark::DoNotOptimize(R.Volume);
    };
    auto Plain = [&] { benchmark::DoNotOptimize(PlainPass(Corners, Draught).V); };
    for (auto _ : State) {
        State.PauseTiming();
        Fresh();
        State.ResumeTiming();
        Measured();
    }
    State.counters["facets"] = Mesh.Count();
    State.counters["x_plain_pass"] = bench::BestRatioAfter(Fresh, Measured, Plain);
}
// A fresh hull of 400,000 facets takes a while to make: a few rounds do.
BENCHMARK(BM_HullHydrostaticsOneDraught)->Arg(1)->Arg(4)->Arg(16)->Iterations(10)->Unit(benchmark::kMillisecond);

// The hydrostatic table of a hull from its facets: 50 draughts from the keel to the waterline, asked
// of a hull made afresh for the table (untimed), as the hull calculation does.
void BM_HullHydrostaticTable50(benchmark::State& State) {
    const TPolygonList& Mesh = WigleyScaled(static_cast<int>(State.range(0)));
    const std::vector<double> Corners = PlainCorners(Mesh);
    std::unique_ptr<THullHydrostatics> Hull;
    auto Fresh = [&] {
        Hull.reset();
        Hull = std::make_unique<THullHydrostatics>(&Mesh, "Wigley");
    };
    auto Measured = [&] {
        double Sum = 0;
        for (int I = 1; I <= 50; ++I) {
            THydrostaticsData R;
            Hull->AtDraught(T * I / 50, R);
            Sum += R.Volume;
        }
        benchmark::DoNotOptimize(Sum);
    };
    auto Plain = [&] {
        double Sum = 0;
        for (int I = 1; I <= 50; ++I) Sum += PlainPass(Corners, T * I / 50).V;
        benchmark::DoNotOptimize(Sum);
    };
    for (auto _ : State) {
        State.PauseTiming();
        Fresh();
        State.ResumeTiming();
        Measured();
    }
    State.counters["facets"] = Mesh.Count();
    State.counters["x_plain_pass"] = bench::BestRatioAfter(Fresh, Measured, Plain, 2);
}
BENCHMARK(BM_HullHydrostaticTable50)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
