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

// Times Steps (undo, or undo and redo) on a fresh DeletedDocument(Count, Every) per iteration; the
// document must then hold Left(Count) entities.
template <class FSteps, class FLeft>
void TimeSteps(benchmark::State& State, int Every, FSteps Steps, FLeft Left) {
    const int Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto Doc = DeletedDocument(Count, Every);
        State.ResumeTiming();
        Steps(*Doc);
        State.PauseTiming();
        if (Doc->Count() != Left(Count)) State.SkipWithError("the steps left the wrong entities");
        Doc.reset();
        State.ResumeTiming();
    }
    State.SetComplexityN(Count);
}

// 10^4, 10^5 and 10^6 points, one iteration each, with the growth fitted.
void GrowingDocuments(benchmark::internal::Benchmark* B) {
    B->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
}

void UndoAndRedo(TGeometryInterface& Doc) {
    Doc.Undo();
    Doc.Redo();
}

// The undo and the redo of one Delete All.
void BM_UndoRedoDeleteAll(benchmark::State& State) {
    TimeSteps(State, 1, UndoAndRedo, [](int) { return 0; });
}
BENCHMARK(BM_UndoRedoDeleteAll)->Apply(GrowingDocuments);

// The undo alone, for the figure the user waits for.
void BM_UndoDeleteAll(benchmark::State& State) {
    TimeSteps(State, 1, [](TGeometryInterface& Doc) { Doc.Undo(); }, [](int Count) { return Count; });
}
BENCHMARK(BM_UndoDeleteAll)->Apply(GrowingDocuments);

// Undo and redo of deleting every other point: each entity goes back to its own place in the list, and
// redo takes it from there.
void BM_UndoRedoDeleteEveryOther(benchmark::State& State) {
    TimeSteps(State, 2, UndoAndRedo, [](int Count) { return Count / 2; });
}
BENCHMARK(BM_UndoRedoDeleteEveryOther)->Apply(GrowingDocuments);

}  // namespace
}  // namespace sarnova::test
