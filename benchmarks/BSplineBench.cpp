// Evaluation of B-spline curves and surfaces, the inner loop of drawing, sections, normals and
// hydrostatics, at three sizes of control polygon or net (x1, x4, x16 points): the time per call
// should not grow with the size. One benchmark iteration evaluates at one parameter (ns per call).
// The counter vs_point is the time of the call over the time of the point call at the same
// parameters. Goals: a curve's first derivative at most 1.5 points, a surface's value with first and
// second derivatives at most 2.5 points.
// BM_InterpolateBSpline makes one interpolating curve per iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "BenchRatio.h"
#include "foundation/BSpline.h"
#include "foundation/BSplineInterpolate.h"
#include "surfaces/BSurface.h"

namespace {

using sarnova::TBSpline;
using sarnova::TBSplineSurface;

// Parameters walked by every case: successive ones fall in different spans.
constexpr int Steps = 997;

// An Open cubic of State.range(0) control points along a wavy line.
std::unique_ptr<TBSpline> MakeCurve(const benchmark::State& State) {
    auto Curve = std::make_unique<TBSpline>(4);
    for (int i = 0; i < State.range(0); ++i) Curve->AddPoint(i, std::sin(i * 0.7), std::cos(i * 0.3));
    Curve->UpdateKnots();
    return Curve;
}

std::vector<double> CurveParameters(TBSpline& Curve) {
    std::vector<double> T(Steps);
    for (int i = 0; i < Steps; ++i) T[static_cast<std::size_t>(i)] = Curve.MinT() + (Curve.MaxT() - Curve.MinT()) * i / (Steps - 1);
    return T;
}

template <typename Evaluate>
void EvaluateAlongCurve(benchmark::State& State, Evaluate&& Eval, bool AgainstPoint) {
    auto Curve = MakeCurve(State);
    const std::vector<double> T = CurveParameters(*Curve);
    std::size_t i = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Eval(*Curve, T[i]));
        i = i + 1 == T.size() ? 0 : i + 1;
    }
    State.SetItemsProcessed(State.iterations());
    if (!AgainstPoint) return;
    State.counters["vs_point"] = sarnova::bench::BestRatio(
        [&] {
            for (int r = 0; r < 20; ++r)
                for (const double t : T) benchmark::DoNotOptimize(Eval(*Curve, t));
        },
        [&] {
            for (int r = 0; r < 20; ++r)
                for (const double t : T) benchmark::DoNotOptimize(Curve->EvaluatePoint(t));
        },
        15);
}

// The allocation-free evaluation used by inner loops.
void BM_BSplineEvaluatePoint(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.EvaluatePoint(T); }, false);
}

// The curve interface's PointAt, which hands out a new point.
void BM_BSplinePointAt(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.PointAt(T); }, true);
}

// Position and first derivative.
void BM_BSplineFirstDerivatives(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.FirstDerivatives(T); }, true);
}

// Position and three derivatives.
void BM_BSplineDerivatives(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.Derivatives(T); }, true);
}

// A bicubic Open surface of State.range(0) x State.range(0) control points over a wavy net.
std::unique_ptr<TBSplineSurface> MakeSurface(const benchmark::State& State) {
    const int N = static_cast<int>(State.range(0));
    auto S = std::make_unique<TBSplineSurface>(N, N);
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) S->Point(i, j).SetVector({i + 0.3 * std::sin(j), j - 0.2 * i, std::sin(i + 2.0 * j)});
    S->UpdateKnots();
    return S;
}

// Steps parameter pairs spread over the surface, u and v walking at different rates.
std::vector<std::pair<double, double>> SurfaceParameters(TBSplineSurface& S) {
    std::vector<std::pair<double, double>> P(Steps);
    for (int i = 0; i < Steps; ++i)
        P[static_cast<std::size_t>(i)] = {S.MinU() + S.URange() * (i % 31) / 30.0, S.MinV() + S.VRange() * (i % 37) / 36.0};
    return P;
}

template <typename Evaluate>
void EvaluateOverSurface(benchmark::State& State, Evaluate&& Eval, bool AgainstPoint) {
    auto S = MakeSurface(State);
    const auto P = SurfaceParameters(*S);
    std::size_t i = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Eval(*S, P[i].first, P[i].second));
        i = i + 1 == P.size() ? 0 : i + 1;
    }
    State.SetItemsProcessed(State.iterations());
    if (!AgainstPoint) return;
    State.counters["vs_point"] = sarnova::bench::BestRatio(
        [&] {
            for (int r = 0; r < 5; ++r)
                for (const auto& [u, v] : P) benchmark::DoNotOptimize(Eval(*S, u, v));
        },
        [&] {
            for (int r = 0; r < 5; ++r)
                for (const auto& [u, v] : P) benchmark::DoNotOptimize(S->Evaluate(u, v));
        },
        15);
}

void BM_BSplineSurfaceEvaluate(benchmark::State& State) {
    EvaluateOverSurface(State, [](TBSplineSurface& S, double u, double v) { return S.Evaluate(u, v); }, false);
}

// Position, Su and Sv.
void BM_BSplineSurfaceFirstDerivatives(benchmark::State& State) {
    EvaluateOverSurface(State, [](TBSplineSurface& S, double u, double v) { return S.EvaluateFirstDerivatives(u, v); }, true);
}

// Position with first and second derivatives.
void BM_BSplineSurfaceDerivatives(benchmark::State& State) {
    EvaluateOverSurface(State, [](TBSplineSurface& S, double u, double v) { return S.EvaluateDerivatives(u, v); }, true);
}

}  // namespace

BENCHMARK(BM_BSplineEvaluatePoint)->ArgName("points")->Arg(10)->Arg(40)->Arg(160);
BENCHMARK(BM_BSplinePointAt)->ArgName("points")->Arg(10)->Arg(40)->Arg(160);
BENCHMARK(BM_BSplineFirstDerivatives)->ArgName("points")->Arg(10)->Arg(40)->Arg(160);
BENCHMARK(BM_BSplineDerivatives)->ArgName("points")->Arg(10)->Arg(40)->Arg(160);
BENCHMARK(BM_BSplineSurfaceEvaluate)->ArgName("net")->Arg(8)->Arg(16)->Arg(32);
BENCHMARK(BM_BSplineSurfaceFirstDerivatives)->ArgName("net")->Arg(8)->Arg(16)->Arg(32);
BENCHMARK(BM_BSplineSurfaceDerivatives)->ArgName("net")->Arg(8)->Arg(16)->Arg(32);

namespace {

// Interpolation through State.range(0) points of a helix at order 4: building and solving the
// collocation system and checking the curve at every point. The points are spaced like the knot
// averages of the uniform knots, the spacing that suits them at any count. The knot vector holds at
// most 499 knots, so 495 points is the largest order-4 case.
void BM_InterpolateBSpline(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    const auto Knot = [n](int i) { return static_cast<double>(std::clamp(i - 3, 0, n - 3)); };
    sarnova::TPolyline Points;
    for (int i = 0; i < n; ++i) {
        const double a = 0.1 * (Knot(i + 1) + Knot(i + 2) + Knot(i + 3)) / 3;
        Points.AddPoint(3 * std::cos(a), 3 * std::sin(a), a);
    }
    for (auto _ : State) benchmark::DoNotOptimize(sarnova::InterpolateBSpline(4, Points));
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

}  // namespace

BENCHMARK(BM_InterpolateBSpline)->ArgName("points")->Arg(10)->Arg(150)->Arg(495)->Unit(benchmark::kMicrosecond);
