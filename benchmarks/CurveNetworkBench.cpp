// Editing a hull-like curve network: 40 stations crossing 12 longitudinals, every station resting on
// every longitudinal through a bead at their crossing. One iteration moves a vertex of the lowest
// longitudinal and regenerates every station, as the view does after a drag; each station re-reads
// its bead on the moved curve at the address it kept.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "curvenet/XTCurve.h"
#include "curvenet/XTReferencePoints.h"

namespace {

using namespace sarnova;

constexpr int Stations = 40;
constexpr int Longitudinals = 12;
constexpr int LongitudinalPoints = 21;
constexpr double Length = 100.0;

// Half-breadth of longitudinal J at X: fuller amidships, narrower at the ends.
double Breadth(int J, double X) {
    const double U = (X - Length / 2) / (Length / 2);
    return (1.0 + J) * (1.0 - 0.6 * U * U);
}

struct TNetwork {
    std::vector<std::unique_ptr<TXTCurve>> Longitudinal;
    std::vector<std::unique_ptr<TXTCurve>> Station;

    TNetwork() {
        for (int J = 0; J < Longitudinals; ++J) {
            auto C = std::make_unique<TXTCurve>();
            for (int I = 0; I < LongitudinalPoints; ++I) {
                const double X = Length * I / (LongitudinalPoints - 1);
                C->AddPointXYZ(X, Breadth(J, X), 0.8 * J);
            }
            C->Constraints().Add(std::make_unique<TXTCubicSplineConstraint>());
            C->Regenerate();
            Longitudinal.push_back(std::move(C));
        }
        for (int S = 0; S < Stations; ++S) {
            const double X = Length * (S + 0.5) / Stations;
            auto C = std::make_unique<TXTCurve>();
            for (int J = 0; J < Longitudinals; ++J) C->AddPointXYZ(X, Breadth(J, X), 0.8 * J);
            for (int J = 0; J < Longitudinals; ++J) {
                TXTCurve& Host = *Longitudinal[static_cast<std::size_t>(J)];
                TMPlane Plane = YZPlane;
                Plane.Distance = X;
                TXTSnapTarget Snap;
                Snap.Curve = &Host;
                Snap.Point = C->PointAt(J);
                Snap.Kind = skCurve;
                Host.NearestPlaneIntersection(Plane, C->PointAt(J)->GetPosition(), Snap.Address);
                Snap.WorldPosition = C->PointAt(J)->GetPosition();
                C->ApplySnap(Snap);
            }
            C->Regenerate();
            Station.push_back(std::move(C));
        }
    }
    ~TNetwork() {
        // The stations rest on the longitudinals: they go first.
        Station.clear();
    }
};

void BM_MoveVertexUnderBeadedStations(benchmark::State& State) {
    TNetwork Net;
    TXTPoint* Moved = Net.Longitudinal[0]->PointAt(LongitudinalPoints / 2);
    const TMVector Home = Moved->GetPosition();
    int Step = 0;
    long Rebuilt = 0;
    for (auto& S : Net.Station) S->OnRegenerated = [&Rebuilt](TXTCurve*) { ++Rebuilt; };
    for (auto _ : State) {
        TMVector P = Home;
        P.Y += (++Step % 2) ? 0.1 : 0.0;
        Moved->SetPosition(P);
        for (auto& S : Net.Station) S->Regenerate();
    }
    for (auto& S : Net.Station)
        if (!S->PointAt(0)->IsReferencePoint()) State.SkipWithError("a bead was lost");
    State.counters["stations"] = Stations;
    State.counters["beads"] = Stations * Longitudinals;
}
BENCHMARK(BM_MoveVertexUnderBeadedStations)->Unit(benchmark::kMillisecond);

}  // namespace
