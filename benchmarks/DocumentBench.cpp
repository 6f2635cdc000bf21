// Cost of the entity list in large documents: adding entities that all ask for the same name,
// renaming them, and selecting one by name. Every step should grow linearly with the count.
#include <benchmark/benchmark.h>

#include <string>

#include "document/TestPoint.h"  // the test entity of the document tests
#include "foundation/DuZezOride.h"

namespace sarnova::test {
namespace {

// Entities read the program settings, which need the program's folders.
void Prepare() {
    InitializeProgramFolders("");
    RegisterTestClasses();
}

void FillList(TRecordingList& List, int Count) {
    List.BeginUpdate(0);
    for (int I = 0; I < Count; ++I) List.AddPoint("Curve1", I);
    List.EndUpdate();
}

void BM_AddWithUniqueNames(benchmark::State& State) {
    Prepare();
    for (auto _ : State) {
        TRecordingList List;
        FillList(List, static_cast<int>(State.range(0)));
        benchmark::DoNotOptimize(List.Count());
    }
    State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_AddWithUniqueNames)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_RenameAll(benchmark::State& State) {
    Prepare();
    TRecordingList List;
    FillList(List, static_cast<int>(State.range(0)));
    int Round = 0;
    for (auto _ : State) {
        const std::string Prefix = "R" + std::to_string(Round++) + "_";
        List.BeginUpdate(0);
        for (int I = 0; I < List.Count(); ++I) List.Items(I).SetName(Prefix + std::to_string(I));
        List.EndUpdate();
    }
    State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_RenameAll)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_SelectByName(benchmark::State& State) {
    Prepare();
    TRecordingList List;
    FillList(List, static_cast<int>(State.range(0)));
    int I = 0;
    for (auto _ : State) {
        List.SelectByName("CURVE" + std::to_string(1 + I++ % List.Count()));
        benchmark::DoNotOptimize(List.SingleSelection());
    }
    State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_SelectByName)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
}  // namespace sarnova::test
