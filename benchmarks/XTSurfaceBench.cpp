// Generating curve-network surfaces with the default options, through the faces and cross-boundary
// tangents to every face's Gregory patch: a 10 x 10 grid of stations and longitudinals tied by beads at
// every crossing, generated from scratch; and a hull-like network of 40 stations over 12
// longitudinals, regenerated after one vertex of a longitudinal moves (stations rebuilt, then the
// whole surface), as at the next redraw after a drag.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/CurveDocument.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/XTPatchFace.h"
#include "curvenet/XTSurface.h"
#include "surfaces/SurfaceList.h"

namespace {

using namespace sarnova;

// Curves of a document and one surface on all of them; the surface goes first.
struct TSurfaceNetwork : test::TCurveDocument {
    std::unique_ptr<TXTSurface> Surface = std::make_unique<TXTSurface>();
    std::vector<TXTCurve*> Longitudinal;
    std::vector<TXTCurve*> Station;

    TSurfaceNetwork() {
        Surface->SetName("Hull");
        Surface->Manager = this;
    }
    ~TSurfaceNetwork() override { Surface.reset(); }
    void ClearInfoMessages(const void*) override { Messages.clear(); }

    // Point J of Station rests on longitudinal J where the longitudinal crosses the station's plane.
    void Tie(TXTCurve& S, double X) {
        for (int J = 0; J < S.PointCount(); ++J) {
            TXTCurve& Host = *Longitudinal[static_cast<std::size_t>(J)];
            Host.Regenerate();
            TMPlane Plane = YZPlane;
            Plane.Distance = X;
            TXTSnapTarget Snap;
            Snap.Curve = &Host;
            Snap.Point = S.PointAt(J);
            Snap.Kind = skCurve;
            Host.NearestPlaneIntersection(Plane, S.PointAt(J)->GetPosition(), Snap.Address);
            Snap.WorldPosition = S.PointAt(J)->GetPosition();
            S.ApplySnap(Snap);
        }
    }
    void AddAllToSurface() {
        for (TXTCurve* C : Longitudinal) Surface->Curves().Add(C);
        for (TXTCurve* C : Station) Surface->Curves().Add(C);
    }
};

// Size longitudinals of Size points over 0 .. Size - 1 in x, a gentle camber in z; Size stations at
// x = 0 .. Size - 1, the first and last closing the ends.
void BuildGrid(TSurfaceNetwork& N, int Size = 10) {
    const double Mid = (Size - 1) / 2.0;
    const double Scale = 9.0 / (Size - 1);
    const auto Z = [&](double X, double Y) {
        return (0.05 * (X - Mid) * (X - Mid) + 0.03 * Y * Y) * Scale * Scale;
    };
    for (int J = 0; J < Size; ++J) {
        std::vector<TMVector> P;
        for (int I = 0; I < Size; ++I) P.push_back({double(I), double(J), Z(I, J)});
        N.Longitudinal.push_back(N.Add("L" + std::to_string(J), P));
    }
    for (int I = 0; I < Size; ++I) {
        std::vector<TMVector> P;
        for (int J = 0; J < Size; ++J) P.push_back({double(I), double(J), Z(I, J)});
        TXTCurve* S = N.Add("S" + std::to_string(I), P);
        N.Tie(*S, I);
        N.Station.push_back(S);
    }
    N.AddAllToSurface();
}

void BM_GenerateTenByTenNetwork(benchmark::State& State) {
    TSurfaceNetwork N;
    BuildGrid(N);
    // A surface regenerated with the options it was built with keeps its faces and patches; an
    // option the default scheme does not read (the twist angle, without twist compatibility) is
    // changed on every pass, so that every pass generates from scratch.
    TXTSurfaceOptions Options = N.Surface->Options();
    const double Angle = Options.TwistCompatibilityAngle;
    int Pass = 0;
    for (auto _ : State) {
        Options.TwistCompatibilityAngle = Angle * ((++Pass % 2) ? 1.0 : 1.5);
        N.Surface->SetOptions(Options);
        N.Surface->Regenerate();
    }
    if (!N.Surface->Generated() || N.Surface->Manifold().Faces().Count() != 82 || N.Surface->Surfaces().Count() != 81)
        State.SkipWithError("the grid did not generate its 81 patched faces and the exterior");
    State.counters["faces"] = N.Surface->Manifold().Faces().Count();
    State.counters["patches"] = N.Surface->Surfaces().Count();
    State.counters["edges"] = N.Surface->Manifold().Edges().Count();
}
BENCHMARK(BM_GenerateTenByTenNetwork)->Unit(benchmark::kMillisecond);

// An N x N grid regenerated after one vertex of a middle longitudinal moves: the work should grow
// with the faces the moved curve touches and no faster than the network's size. The second argument
// is the patch type: -1 the default scheme, else the type (9: the Gregory N-sided patch).
void BM_RegenerateGridAfterOneCurveMoves(benchmark::State& State) {
    const int Size = static_cast<int>(State.range(0));
    TSurfaceNetwork N;
    BuildGrid(N, Size);
    if (State.range(1) >= 0) {
        TXTSurfaceOptions Options = N.Surface->Options();
        Options.PatchType = static_cast<TXTPatchType>(State.range(1));
        N.Surface->SetOptions(Options);
    }
    N.Surface->Regenerate();
    TXTPoint* Moved = N.Longitudinal[static_cast<std::size_t>(Size / 2)]->PointAt(Size / 2);
    const TMVector Home = Moved->GetPosition();
    int Step = 0;
    for (auto _ : State) {
        TMVector P = Home;
        P.Z += (++Step % 2) ? 0.01 : 0.0;
        Moved->SetPosition(P);
        N.Surface->Regenerate();
    }
    const int Patches = (Size - 1) * (Size - 1);
    int Made = N.Surface->Surfaces().Count();
    const TXTPatchFaces& Leaves = N.Surface->GetPatchFaces();
    for (int I = 0; I < Leaves.Count(); ++I)
        if (Leaves.Face(I)->NPatch() != nullptr) ++Made;
    if (!N.Surface->Generated() || Made != Patches) State.SkipWithError("the grid did not generate a patch for every face");
    State.counters["patches"] = Made;
}
BENCHMARK(BM_RegenerateGridAfterOneCurveMoves)
    ->ArgsProduct({{10, 20, 40, 80}, {-1, sptGregoryNPatch}})
    ->Unit(benchmark::kMillisecond);

constexpr int HullStations = 40;
constexpr int HullLongitudinals = 12;
constexpr int HullLongitudinalPoints = 21;
constexpr double HullLength = 100.0;

double Breadth(int J, double X) {
    const double U = (X - HullLength / 2) / (HullLength / 2);
    return (1.0 + J) * (1.0 - 0.6 * U * U);
}

// The stations stand inside the longitudinals' length: the longitudinals' ends beyond the first and
// last station are loose tails that every generation eats back.
void BuildHull(TSurfaceNetwork& N) {
    for (int J = 0; J < HullLongitudinals; ++J) {
        std::vector<TMVector> P;
        for (int I = 0; I < HullLongitudinalPoints; ++I) {
            const double X = HullLength * I / (HullLongitudinalPoints - 1);
            P.push_back({X, Breadth(J, X), 0.8 * J});
        }
        N.Longitudinal.push_back(N.Add("L" + std::to_string(J), P));
    }
    for (int S = 0; S < HullStations; ++S) {
        const double X = HullLength * (S + 0.5) / HullStations;
        std::vector<TMVector> P;
        for (int J = 0; J < HullLongitudinals; ++J) P.push_back({X, Breadth(J, X), 0.8 * J});
        TXTCurve* C = N.Add("S" + std::to_string(S), P);
        N.Tie(*C, X);
        N.Station.push_back(C);
    }
    N.AddAllToSurface();
}

void BM_RegenerateHullAfterOneCurveMoves(benchmark::State& State) {
    TSurfaceNetwork N;
    BuildHull(N);
    N.Surface->Regenerate();
    TXTPoint* Moved = N.Longitudinal[0]->PointAt(HullLongitudinalPoints / 2);
    const TMVector Home = Moved->GetPosition();
    int Step = 0;
    for (auto _ : State) {
        TMVector P = Home;
        P.Y += (++Step % 2) ? 0.1 : 0.0;
        Moved->SetPosition(P);
        N.Surface->Regenerate();
    }
    const int Interior = (HullStations - 1) * (HullLongitudinals - 1);
    if (!N.Surface->Generated() || N.Surface->Manifold().Faces().Count() <= Interior ||
        N.Surface->Surfaces().Count() < Interior)
        State.SkipWithError("the hull did not generate its patched faces");
    State.counters["faces"] = N.Surface->Manifold().Faces().Count();
    State.counters["patches"] = N.Surface->Surfaces().Count();
    State.counters["edges"] = N.Surface->Manifold().Edges().Count();
    State.counters["tails"] = static_cast<double>(N.Messages.size());
}
BENCHMARK(BM_RegenerateHullAfterOneCurveMoves)->Unit(benchmark::kMillisecond);

}  // namespace
