// The imports that the other exchange benchmarks leave out, on files of tens of megabytes with the bytes
// read per second: Open Inventor scenes, SUS hull definitions and Proteus DAM damage models (with their
// SUS companion). The SUS and DAM files are written by the program's own export of a large model.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "ExchangeBenchFiles.h"
#include "document/GeometryList.h"
#include "exchange/IoIV.h"
#include "exchange/IoProteus.h"
#include "exchange/IoSus.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::bench;

namespace {

double Breadth(int I, int J) { return 5 * std::sin(0.001 * I + 0.01 * J) + 6; }

// A 1000 x 1000 grid of points as one coordinate list, its quadrilaterals as one face set.
void BM_ImportInventor(benchmark::State& State) {
    static const std::string Path = WriteFile("scene.iv", [](std::FILE* F) {
        const int N = 1000;
        std::fputs("#Inventor V2.1 ascii\nSeparator {\n  Coordinate3 {\n    point [\n", F);
        for (int I = 0; I < N; ++I)
            for (int J = 0; J < N; ++J) std::fprintf(F, "      %.6f %.6f %.6f,\n", 0.1 * I, Breadth(I, J), 0.02 * J);
        std::fputs("    ]\n  }\n  IndexedFaceSet {\n    coordIndex [\n", F);
        for (int I = 1; I < N; ++I)
            for (int J = 1; J < N; ++J)
                std::fprintf(F, "      %d, %d, %d, %d, -1,\n", (I - 1) * N + J - 1, I * N + J - 1, I * N + J,
                             (I - 1) * N + J);
        std::fputs("    ]\n  }\n}\n", F);
    });
    ReadBench(State, Path, ImportInventor);
}
BENCHMARK(BM_ImportInventor)->Unit(benchmark::kMillisecond)->Iterations(3);

// A polyline list of Sections closed sections of Points points each, a metre apart from X0.
TGeoPList* AddList(TGeometryList& Doc, const std::string& Name, double X0, int Sections, int Points,
                   double Permeability) {
    auto List = std::make_unique<TGeoPList>();
    for (int S = 0; S < Sections; ++S) {
        auto Section = std::make_unique<TPolyline>();
        for (int P = 0; P < Points; ++P) {
            const double A = 3.14159265358979 * P / (Points - 1);
            Section->AddPoint(X0 + S, 0.5 * Breadth(S, P) * std::sin(A), 4 - 4 * std::cos(A));
        }
        Section->SetClosed(true);
        List->Polylines().Add(std::move(Section));
    }
    List->SetName(Name);
    List->SetPermeability(Permeability);
    return static_cast<TGeoPList*>(Doc.Add(std::move(List)));
}

// A hull of 2000 sections of 400 points and 500 compartments of 20 sections.
void FillShip(TGeometryList& Doc, bool Groups) {
    Prepare();
    AddList(Doc, "Hull", 0, 2000, 400, 1);
    for (int C = 0; C < 500; ++C) {
        TGeoPList* Space = AddList(Doc, "Space " + std::to_string(C), 4 * C, 20, 20, 0.95);
        if (!Groups) continue;
        auto Group = std::make_unique<TGeoOpenGroup>();
        Group->SetName("Group " + std::to_string(C));
        Group->SetOwnerList(&Doc);
        Group->AddMember(Space);
        Doc.Add(std::move(Group));
    }
}

void BM_ImportSus(benchmark::State& State) {
    static const std::string Path = [] {
        const std::string P = BenchFile("ship.sus");
        TGeometryList Doc;
        FillShip(Doc, false);
        ExportSus(P, Doc);
        return P;
    }();
    ReadBench(State, Path, ImportSus);
}
BENCHMARK(BM_ImportSus)->Unit(benchmark::kMillisecond)->Iterations(3);

// The DAM file and its SUS companion, both read by the import and both counted in the bytes.
void BM_ImportProteusDam(benchmark::State& State) {
    static const std::string Path = [] {
        const std::string P = BenchFile("ship.dam");
        TGeometryList Doc;
        FillShip(Doc, true);
        ExportProteusDam(P, Doc);
        return P;
    }();
    ReadBench(State, Path, ImportProteusDam);
    const double Dam = double(std::filesystem::file_size(Path));
    const double Sus = double(std::filesystem::file_size(std::filesystem::path(Path).replace_extension(".sus")));
    State.SetBytesProcessed(static_cast<int64_t>(Dam + Sus) * State.iterations());
    State.counters["MB"] = (Dam + Sus) / 1e6;
    State.counters["SusMB"] = Sus / 1e6;
}
BENCHMARK(BM_ImportProteusDam)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
