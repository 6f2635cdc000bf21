// Curvature analysis of a B-spline surface sampled on a grid of 200 x 200, 400 x 400 and 800 x 800
// points (x1, x4, x16): sampling, the levels of both curvatures and the colours. The time per point
// should not grow with the grid. The counter x_plain_pass is the time of the analysis over a plain
// pass that evaluates the same derivatives at the same points and keeps both curvatures in an array.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "BenchRatio.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceAnalysis.h"

namespace {

using namespace sarnova;

// A bicubic surface of 12 x 12 control points over a wavy net, curved both ways.
std::unique_ptr<TBSplineSurface> WavySurface() {
    constexpr int N = 12;
    auto S = std::make_unique<TBSplineSurface>(N, N);
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) S->Point(i, j).SetVector({i + 0.3 * std::sin(j), j - 0.2 * i, std::sin(i + 2.0 * j)});
    S->UpdateKnots();
    return S;
}

struct TPlainCurvature {
    double Gaussian, Mean;
};

// Derivatives at every grid point and the two curvatures from the fundamental forms.
void PlainPass(TSurface& S, int N, std::vector<TPlainCurvature>& Out) {
    Out.resize(static_cast<std::size_t>(N) * static_cast<std::size_t>(N));
    const double U0 = S.MinU(), U1 = S.MaxU(), V0 = S.MinV(), V1 = S.MaxV();
    std::size_t K = 0;
    for (int j = 0; j < N; ++j) {
        const double v = V0 + (V1 - V0) * j / (N - 1);
        for (int i = 0; i < N; ++i) {
            const double u = U0 + (U1 - U0) * i / (N - 1);
            const TSurfaceDerivatives D = S.EvaluateDerivatives(u, v);
            const TMVector n = VectorCross(D.Su, D.Sv);
            const double L2 = VectorDot(n, n), L = std::sqrt(L2);
            const double e = VectorDot(n, D.Suu), f = VectorDot(n, D.Suv), g = VectorDot(n, D.Svv);
            const double E = VectorDot(D.Su, D.Su), F = VectorDot(D.Su, D.Sv), G = VectorDot(D.Sv, D.Sv);
            Out[K++] = {(e * g - f * f) / (L2 * L2), (e * G - 2 * f * F + g * E) / (2 * L2 * L)};
        }
    }
}

void BM_SurfaceCurvatureAnalysis(benchmark::State& State) {
    const int N = 200 * static_cast<int>(std::lround(std::sqrt(static_cast<double>(State.range(0)))));
    auto S = WavySurface();
    TSurfaceAnalysis Analysis;
    auto Measured = [&] {
        Analysis.BeginUpdate();
        Analysis.AddMesh(*S, N, N);
        Analysis.EndUpdate();
        benchmark::DoNotOptimize(Analysis.Points().Count());
    };
    std::vector<TPlainCurvature> Plain;
    auto Reference = [&] {
        PlainPass(*S, N, Plain);
        benchmark::DoNotOptimize(Plain.data());
    };
    for (auto _ : State) Measured();
    State.counters["points"] = static_cast<double>(N) * N;
    State.counters["ns_per_point"] = benchmark::Counter(static_cast<double>(N) * N * State.iterations(),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    State.counters["x_plain_pass"] = bench::BestRatio(Measured, Reference, 3);
}
BENCHMARK(BM_SurfaceCurvatureAnalysis)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
