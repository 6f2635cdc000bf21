// Station sections of a fine closed hull, as hydrostatics and the lines plan cut them: 100 stations of
// the Wigley hull at 400,000 facets and at 4 and 16 times that. Each case also times a plain pass over
// the same facets (every corner read and placed against one station plane) and reports the cuts,
// index building included, as a number of such passes ("passes", the best of alternating rounds of
// each), the volume integrated from the sections against the hull's own ("volume_error_pct") and the
// points the thinned sections keep ("points").
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "BenchRatio.h"
#include "foundation/Contours.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/WigleyHull.h"
#include "naval/VkHydro.h"

using namespace sarnova;

namespace {

constexpr int Stations = 100;

// One mesh at a time: the largest holds 6.4 million facets.
const TPolygonList& Hull(int Size) {
    static int Built = 0;
    static std::unique_ptr<TPolygonList> Mesh;
    if (Built != Size) {
        Mesh.reset();
        const int Scale = Size == 1 ? 1 : Size == 4 ? 2 : 4;
        Mesh = TWigley{}.Facets(500 * Scale, 200 * Scale);
        Built = Size;
    }
    return *Mesh;
}

double StationX(int F) {
    const TWigley W;
    return -W.L / 2 + 1e-4 + F * (W.L - 2e-4) / (Stations - 1);
}

// The cheapest look at every facet: its corners read and placed against one plane.
int PlainPass(const TPolygonList& Mesh, double X) {
    int Straddling = 0;
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F = Mesh.Polygon(I);
        int Below = 0;
        for (int K = 0; K < F.CornerCount(); ++K) Below += F.Corner(K)->X < X;
        Straddling += Below > 0 && Below < F.CornerCount();
    }
    return Straddling;
}

double VolumeError(TPolylineList& Sections) {
    const TVolumeAndCentre R = Sections.SectionsVolume();
    const double Exact = TWigley{}.Volume();
    return 100 * (R.Volume - Exact) / Exact;
}

// 100 station sections through an index built for them.
std::unique_ptr<TPolylineList> StationSections(const TPolygonList& Mesh) {
    const TFacetCutIndex Index(Mesh, XAxisVector);
    auto Sections = std::make_unique<TPolylineList>();
    for (int F = 0; F < Stations; ++F)
        if (auto S = PolygonSectionAtX(Index, StationX(F))) Sections->Add(std::move(S));
    return Sections;
}

void BM_StationCutsWithIndex(benchmark::State& State) {
    const TPolygonList& Mesh = Hull(static_cast<int>(State.range(0)));
    double Error = 0;
    int Points = 0;
    for (auto _ : State) {
        const auto Sections = StationSections(Mesh);
        Error = VolumeError(*Sections);
        Points = 0;
        for (int I = 0; I < Sections->Count(); ++I) Points += Sections->Items(I)->Count();
    }
    State.counters["facets"] = Mesh.Count();
    // The index is built anew in every round: the cuts pay for it each time.
    State.counters["passes"] = bench::BestRatio([&] { benchmark::DoNotOptimize(StationSections(Mesh)->Count()); },
                                                [&] { benchmark::DoNotOptimize(PlainPass(Mesh, 0.1234)); });
    State.counters["volume_error_pct"] = Error;
    State.counters["points"] = Points;
}
BENCHMARK(BM_StationCutsWithIndex)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same stations, each cut from every facet as a single cut is.
void BM_StationCutsOneByOne(benchmark::State& State) {
    const TPolygonList& Mesh = Hull(static_cast<int>(State.range(0)));
    const auto OneByOne = [&] {
        TPolylineList Sections;
        for (int F = 0; F < Stations; ++F)
            if (auto S = PolygonSectionAtX(Mesh, StationX(F))) Sections.Add(std::move(S));
        benchmark::DoNotOptimize(Sections.Count());
    };
    for (auto _ : State) OneByOne();
    State.counters["facets"] = Mesh.Count();
    State.counters["passes"] = bench::BestRatio(OneByOne, [&] { benchmark::DoNotOptimize(PlainPass(Mesh, 0.1234)); }, 1);
}
BENCHMARK(BM_StationCutsOneByOne)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
