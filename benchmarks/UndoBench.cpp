// Undo and redo of deleting every entity of a large document: each should grow linearly with the
// count (the records find re-created entities through a hashed relocation map).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/GeoFace.h"
#include "document/TestPoint.h"  // the test entity of the document tests
#include "foundation/TextUtils.h"

namespace sarnova::test {
namespace {

// A document of Count points with Delete All done, as one undo step; with Every above 1 only every
// Every-th point is deleted, so that the deleted points stand all over the list.
std::unique_ptr<TGeometryInterface> DeletedDocument(int Count, int Every = 1) {
    InitializeProgramFolders("");
    RegisterTestClasses();
    auto Doc = std::make_unique<TGeometryInterface>();
    Doc->GetUndoManager().SetEnabled(false);
    Doc->BeginUpdate(0);
    for (int I = 0; I < Count; ++I) Doc->Add(std::make_unique<TTestPoint>("P" + std::to_string(I), I));
    Doc->EndUpdate();
    Doc->GetUndoManager().SetEnabled(true);
    if (Every == 1) {
        Doc->SelectAll();
    } else {
        Doc->BeginUpdate(0);
        for (int I = 0; I < Count; I += Every) Doc->Items(I).SetSelected(true);
        Doc->EndUpdate();
    }
    Doc->DeleteSelected();
    return Doc;
}

// Times the undo and the redo of one Delete All per iteration.
void BM_UndoRedoDeleteAll(benchmark::State& State) {
    const int Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto Doc = DeletedDocument(Count);
        State.ResumeTiming();
        Doc->Undo();
        Doc->Redo();
        State.PauseTiming();
        if (Doc->Count() != 0) State.SkipWithError("redo left entities");
        Doc.reset();
        State.ResumeTiming();
    }
    State.SetComplexityN(Count);
}
BENCHMARK(BM_UndoRedoDeleteAll)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The undo alone, for the figure the user waits for.
void BM_UndoDeleteAll(benchmark::State& State) {
    const int Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto Doc = DeletedDocument(Count);
        State.ResumeTiming();
        Doc->Undo();
        State.PauseTiming();
        if (Doc->Count() != Count) State.SkipWithError("undo did not bring every entity back");
        Doc.reset();
        State.ResumeTiming();
    }
    State.SetComplexityN(Count);
}
BENCHMARK(BM_UndoDeleteAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Undo and redo of deleting every other point: each entity goes back to its own place in the list, and
// redo takes it from there.
void BM_UndoRedoDeleteEveryOther(benchmark::State& State) {
    const int Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto Doc = DeletedDocument(Count, 2);
        State.ResumeTiming();
        Doc->Undo();
        Doc->Redo();
        State.PauseTiming();
        if (Doc->Count() != Count / 2) State.SkipWithError("redo left the wrong entities");
        Doc.reset();
        State.ResumeTiming();
    }
    State.SetComplexityN(Count);
}
BENCHMARK(BM_UndoRedoDeleteEveryOther)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace sarnova::test
