// Station sections of a fine closed hull, as hydrostatics and the lines plan cut them: 100 stations of
// the Wigley hull at 400,000 facets and at 4 and 16 times that. Each case also times a plain pass over
// the same facets (every corner read and placed against one station plane) and reports the cuts,
// index building included, as a number of such passes ("passes"), and the volume integrated from the
// sections against the hull's own ("volume_error_pct").
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>

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
        const TPolygon& F = *Mesh.Polygon(I);
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

// Both sides of the ratio in this thread's processor time, so that a busy machine does not tilt it.
struct Clock {
    using time_point = double;
    static double now() {
        timespec T{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
        return static_cast<double>(T.tv_sec) + 1e-9 * static_cast<double>(T.tv_nsec);
    }
};
double Seconds(double Start) { return Clock::now() - Start; }

void BM_StationCutsWithIndex(benchmark::State& State) {
    const TPolygonList& Mesh = Hull(static_cast<int>(State.range(0)));
    double Plain = 0, Cuts = 0, Error = 0;
    for (auto _ : State) {
        auto Start = Clock::now();
        benchmark::DoNotOptimize(PlainPass(Mesh, 0.1234));
        Plain += Seconds(Start);
        Start = Clock::now();
        const TFacetCutIndex Index(Mesh, XAxisVector);
        TPolylineList Sections;
        for (int F = 0; F < Stations; ++F)
            if (auto S = PolygonSectionAtX(Index, StationX(F))) Sections.Add(std::move(S));
        Cuts += Seconds(Start);
        Error = VolumeError(Sections);
    }
    State.counters["facets"] = Mesh.Count();
    State.counters["passes"] = Cuts / Plain;
    State.counters["volume_error_pct"] = Error;
}
BENCHMARK(BM_StationCutsWithIndex)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same stations, each cut from every facet as a single cut is.
void BM_StationCutsOneByOne(benchmark::State& State) {
    const TPolygonList& Mesh = Hull(static_cast<int>(State.range(0)));
    double Plain = 0, Cuts = 0;
    for (auto _ : State) {
        auto Start = Clock::now();
        benchmark::DoNotOptimize(PlainPass(Mesh, 0.1234));
        Plain += Seconds(Start);
        Start = Clock::now();
        TPolylineList Sections;
        for (int F = 0; F < Stations; ++F)
            if (auto S = PolygonSectionAtX(Mesh, StationX(F))) Sections.Add(std::move(S));
        Cuts += Seconds(Start);
    }
    State.counters["facets"] = Mesh.Count();
    State.counters["passes"] = Cuts / Plain;
}
BENCHMARK(BM_StationCutsOneByOne)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
