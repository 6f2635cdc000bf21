// Point evaluation of B-spline curves, the inner loop of drawing, sections and hydrostatics, and
// interpolation through points. One iteration of an evaluation benchmark evaluates one point, so the
// reported time is the time per point (ns); one of the interpolation benchmark makes one curve.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/BSpline.h"
#include "foundation/BSplineInterpolate.h"

namespace {

using sarnova::TBSpline;

// An Open curve of State.range(0) control points of order State.range(1) along a wavy line.
std::unique_ptr<TBSpline> MakeCurve(const benchmark::State& State) {
    auto Curve = std::make_unique<TBSpline>(static_cast<int>(State.range(1)));
    for (int i = 0; i < State.range(0); ++i) Curve->AddPoint(i, std::sin(i * 0.7), std::cos(i * 0.3));
    Curve->UpdateKnots();
    return Curve;
}

// Walks the parameter range in 997 steps, so successive points fall in different spans.
template <typename Evaluate>
void EvaluateAlongCurve(benchmark::State& State, Evaluate&& Eval) {
    auto Curve = MakeCurve(State);
    const double Lo = Curve->MinT();
    const double Step = (Curve->MaxT() - Lo) / 997;
    int i = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Eval(*Curve, Lo + i * Step));
        i = i == 997 ? 0 : i + 1;
    }
    State.SetItemsProcessed(State.iterations());
}

// The allocation-free evaluation used by inner loops.
void BM_BSplineEvaluatePoint(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.EvaluatePoint(T); });
}

// The curve interface's PointAt, which hands out a new point.
void BM_BSplinePointAt(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.PointAt(T); });
}

// Position and three derivatives.
void BM_BSplineDerivatives(benchmark::State& State) {
    EvaluateAlongCurve(State, [](TBSpline& C, double T) { return C.Derivatives(T); });
}

}  // namespace

BENCHMARK(BM_BSplineEvaluatePoint)->ArgNames({"points", "order"})->Args({10, 4})->Args({100, 4})->Args({400, 4})->Args({20, 8});
BENCHMARK(BM_BSplinePointAt)->ArgNames({"points", "order"})->Args({10, 4})->Args({400, 4});
BENCHMARK(BM_BSplineDerivatives)->ArgNames({"points", "order"})->Args({10, 4})->Args({400, 4});

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
