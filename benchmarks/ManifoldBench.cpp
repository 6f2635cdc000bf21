// Building, copying, clearing and editing manifolds of flat grids at three sizes (18,818, 75,272 and
// 299,538 faces). Building, copying and clearing should cost the same per face at every size, and an
// edit the same however large the manifold: the counters per_face_vs_x1 and per_edit_vs_x1 give the
// time per face or per edit over that of the smallest grid (1 when the cost grows linearly).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "BenchRatio.h"
#include "surfaces/Manifold.h"
#include "surfaces/ManifoldFixtures.h"

using namespace sarnova;

namespace {

// Grid sizes: N x N points, 2 (N - 1)^2 faces.
constexpr int SmallestGrid = 98;

struct TGrid {
    std::vector<TMVector> Points;
    testing::TIndexPolygons Triangles;
    explicit TGrid(int N) { testing::GridMesh(N, Points, Triangles); }
    double Faces() const { return static_cast<double>(Triangles.size()); }
};

void BM_ManifoldBuild(benchmark::State& State) {
    const TGrid Grid(static_cast<int>(State.range(0)));
    const TGrid Smallest(SmallestGrid);
    for (auto _ : State) {
        TManifold M;
        testing::BuildManifold(M, Grid.Points, Grid.Triangles);
        State.PauseTiming();  // the manifold is freed here, outside the timing
        M.Clear();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * static_cast<long long>(Grid.Faces()));
    const auto Build = [](const TGrid& G) {
        TManifold M;
        testing::BuildManifold(M, G.Points, G.Triangles);
        benchmark::DoNotOptimize(M.Faces().Count());
    };
    State.counters["per_face_vs_x1"] =
        bench::BestRatio([&] { Build(Grid); }, [&] { Build(Smallest); }, 3) * Smallest.Faces() / Grid.Faces();
}

void BM_ManifoldCopyAndClear(benchmark::State& State) {
    const TGrid Grid(static_cast<int>(State.range(0)));
    const TGrid Smallest(SmallestGrid);
    TManifold Source, SmallestSource;
    testing::BuildManifold(Source, Grid.Points, Grid.Triangles);
    testing::BuildManifold(SmallestSource, Smallest.Points, Smallest.Triangles);
    const auto CopyAndClear = [](TManifold& From) {
        TManifold Copy;
        benchmark::DoNotOptimize(Copy.Assign(From));
        Copy.Clear();
    };
    for (auto _ : State) CopyAndClear(Source);
    State.SetItemsProcessed(State.iterations() * static_cast<long long>(Grid.Faces()));
    State.counters["per_face_vs_x1"] = bench::BestRatio([&] { CopyAndClear(Source); },
                                                        [&] { CopyAndClear(SmallestSource); }, 3) *
                                       Smallest.Faces() / Grid.Faces();
}

// Seconds of processor time for Edits splits and deletions of interior edges spread over the grid.
double SecondsToEdit(const TGrid& Grid, int Edits) {
    TManifold M;
    testing::BuildManifold(M, Grid.Points, Grid.Triangles);
    const std::vector<TEdge*> Interior = testing::InteriorEdges(M, Edits);
    const double Start = bench::ThreadSeconds();
    testing::SplitAndDelete(M, Interior);
    return bench::ThreadSeconds() - Start;
}

// 4,000 edits per iteration; the manifold is built outside the timing.
void BM_ManifoldEdits(benchmark::State& State) {
    constexpr int Edits = 4000;
    const TGrid Grid(static_cast<int>(State.range(0)));
    const TGrid Smallest(SmallestGrid);
    for (auto _ : State) State.SetIterationTime(SecondsToEdit(Grid, Edits));
    State.SetItemsProcessed(State.iterations() * Edits);
    double Best = 1e300, BestSmallest = 1e300;
    for (int Round = 0; Round < 3; ++Round) {
        Best = std::min(Best, SecondsToEdit(Grid, Edits));
        BestSmallest = std::min(BestSmallest, SecondsToEdit(Smallest, Edits));
    }
    State.counters["per_edit_vs_x1"] = Best / BestSmallest;
}

}  // namespace

BENCHMARK(BM_ManifoldBuild)->ArgName("grid")->Arg(98)->Arg(195)->Arg(388)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManifoldCopyAndClear)->ArgName("grid")->Arg(98)->Arg(195)->Arg(388)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManifoldEdits)->ArgName("grid")->Arg(98)->Arg(195)->Arg(388)->UseManualTime()->Unit(benchmark::kMillisecond);
