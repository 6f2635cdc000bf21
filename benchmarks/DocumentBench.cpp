// Cost of the entity list in large documents: adding entities that all ask for the same name,
// renaming them, and selecting one by name; loading and saving a document of many polylines against
// a plain parse and a plain formatted writer of the same text. Every step should grow linearly with
// the count. Loading also reports the heap a loaded polyline takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/GeometryList.h"
#include "document/Settings.h"
#include "document/TestPoint.h"  // the test entity of the document tests
#include "foundation/TextUtils.h"
#include "foundation/TextFile.h"

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

// ---- Loading and saving ----

// A document of ten-point polylines, as a hull's lines plan holds thousands of them.
constexpr int PointsPerPolyline = 10;

struct TPolylineDocument {
    int Count = 0;
    std::vector<double> Coordinates;  // x, y, z of every point, polyline after polyline
};

TPolylineDocument MakePolylines(int Count) {
    TPolylineDocument D;
    D.Count = Count;
    D.Coordinates.reserve(static_cast<std::size_t>(Count) * PointsPerPolyline * 3);
    unsigned Seed = 12345;
    const auto Next = [&Seed] {
        Seed = Seed * 1103515245u + 12345u;
        return static_cast<double>((Seed >> 8) % 2000000) / 1000.0 - 1000.0;  // -1000 .. 1000, 3 decimals
    };
    for (std::size_t I = 0; I < static_cast<std::size_t>(Count) * PointsPerPolyline * 3; ++I)
        D.Coordinates.push_back(Next());
    return D;
}

// The plain formatted writer: the document's text with snprintf, no entities in between.
std::string PlainWrite(const TPolylineDocument& D) {
    std::string Text;
    char Line[128];
    const double* C = D.Coordinates.data();
    for (int I = 0; I < D.Count; ++I) {
        Text += "[TPolyline]\n";
        Text.append(Line, static_cast<std::size_t>(std::snprintf(Line, sizeof Line, "NumPoints=%d\n", PointsPerPolyline)));
        for (int P = 0; P < PointsPerPolyline; ++P, C += 3)
            Text.append(Line, static_cast<std::size_t>(std::snprintf(Line, sizeof Line, "%10.3f %10.3f %10.3f\n", C[0], C[1], C[2])));
        Text.append(Line, static_cast<std::size_t>(std::snprintf(Line, sizeof Line, "Name=Polyline%d\n\n", I + 1)));
    }
    Text += "$SARNOVAVERSION 8.0.3.120\n";
    return Text;
}

// The plain parse: every number of the point lines into one array, the rest of the lines passed over.
std::vector<double> PlainParse(const std::string& Text) {
    std::vector<double> Numbers;
    Numbers.reserve(Text.size() / 11);  // at least eleven characters a number
    const char* P = Text.data();
    const char* End = P + Text.size();
    while (P < End) {
        const char* LineEnd = static_cast<const char*>(std::memchr(P, '\n', static_cast<std::size_t>(End - P)));
        if (LineEnd == nullptr) LineEnd = End;
        if (*P == ' ' || *P == '-' || (*P >= '0' && *P <= '9'))
            while (P < LineEnd) {
                while (P < LineEnd && *P == ' ') ++P;
                if (P == LineEnd) break;
                double V = 0;
                P = std::from_chars(P, LineEnd, V).ptr;
                Numbers.push_back(V);
            }
        P = LineEnd + 1;
    }
    return Numbers;
}

// The document text of each size, made once by the plain writer (the text the program writes).
const std::string& PolylineText(int Count) {
    static std::map<int, std::string> Texts;
    auto Found = Texts.find(Count);
    if (Found == Texts.end()) Found = Texts.emplace(Count, PlainWrite(MakePolylines(Count))).first;
    return Found->second;
}

// What the document's file reading does after the file is in memory: every block read into the list
// inside one update bracket, which applies the entities' changes and validates them at its end.
void LoadText(TGeometryList& List, const std::string& Text) {
    TTextReader In(Text);
    List.BeginUpdate(ufEndEditing | ufHourGlass);
    List.LoadFromText(In);
    List.EndUpdate();
}

void PrepareDocuments() {
    static const bool Done = [] {
        InitializeProgramFolders("");
        InitializeSettings();
        RegisterTestClasses();
        return true;
    }();
    (void)Done;
}

std::size_t HeapInUse() {
    const struct mallinfo2 M = mallinfo2();
    return M.uordblks + M.hblkhd;
}

// The best run's speed: the first run of a size also pays for growing the heap.
void ReportSpeed(benchmark::State& State, std::size_t Bytes, int Count, double BestSeconds) {
    State.counters["MB_per_s"] = static_cast<double>(Bytes) / BestSeconds / 1e6;
    State.SetComplexityN(Count);
}

// Seconds that Run takes.
template <class F>
double Seconds(F Run) {
    const auto Start = std::chrono::steady_clock::now();
    Run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// Each iteration runs the document step and then its plain baseline, so that both meet the same
// machine; the counters compare the best run of each. Both work in memory: disks are not measured.
void BM_LoadPolylines(benchmark::State& State) {
    PrepareDocuments();
    const int Count = static_cast<int>(State.range(0));
    const std::string& Text = PolylineText(Count);
    double Best = 1e30, BestPlain = 1e30;
    for (auto _ : State) {
        auto List = std::make_unique<TGeometryList>();
        Best = std::min(Best, Seconds([&] { LoadText(*List, Text); }));
        State.PauseTiming();
        List.reset();
        BestPlain = std::min(BestPlain, Seconds([&] {
            // Its own copy of the text, as the reader holds the file's text.
            const std::string Copy = Text;
            const std::vector<double> Numbers = PlainParse(Copy);
            benchmark::DoNotOptimize(Numbers.data());
        }));
        State.ResumeTiming();
    }
    // Heap per polyline of a loaded document; its ten points take 10 x 48 bytes of that (10 x 24 of
    // coordinates).
    std::size_t Heap = 0;
    {
        // Freed points wait in their pool for the next document: the first load takes them back, so
        // that the second one's growth is all a document of this size needs.
        TGeometryList First;
        LoadText(First, Text);
        const std::size_t Before = HeapInUse();
        TGeometryList List;
        LoadText(List, Text);
        Heap = HeapInUse() - Before;
    }
    ReportSpeed(State, Text.size(), Count, Best);
    State.counters["vs_plain_parse"] = Best / BestPlain;
    State.counters["bytes_per_polyline"] = static_cast<double>(Heap) / Count;
    // Against the bytes of the coordinates (the budget is 2.5 times them plus 200 bytes an entity).
    const double CoordinateBytes = PointsPerPolyline * 3 * sizeof(double);
    State.counters["x_coordinates"] = static_cast<double>(Heap) / Count / CoordinateBytes;
    State.counters["x_budget"] = static_cast<double>(Heap) / Count / (2.5 * CoordinateBytes + 200);
}
BENCHMARK(BM_LoadPolylines)->Arg(50000)->Arg(200000)->Arg(800000)->Iterations(4)->Unit(benchmark::kMillisecond)->Complexity();

void BM_SavePolylines(benchmark::State& State) {
    PrepareDocuments();
    const int Count = static_cast<int>(State.range(0));
    TGeometryList List;
    LoadText(List, PolylineText(Count));
    const TPolylineDocument Data = MakePolylines(Count);
    std::size_t Bytes = 0;
    double Best = 1e30, BestPlain = 1e30;
    for (auto _ : State) {
        Best = std::min(Best, Seconds([&] {
            TTextWriter Out;
            List.SaveToText(Out);
            Bytes = Out.Text().size();
        }));
        State.PauseTiming();
        BestPlain = std::min(BestPlain, Seconds([&] {
            const std::string Text = PlainWrite(Data);
            benchmark::DoNotOptimize(Text.data());
        }));
        State.ResumeTiming();
    }
    ReportSpeed(State, Bytes, Count, Best);
    State.counters["vs_plain_writer"] = Best / BestPlain;
}
BENCHMARK(BM_SavePolylines)->Arg(50000)->Arg(200000)->Arg(800000)->Iterations(4)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace sarnova::test
