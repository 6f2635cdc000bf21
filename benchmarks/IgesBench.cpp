// IGES exchange of large documents: exporting 100,000 entities (polylines, arcs and B-spline
// curves) and importing a file of 10,000 B-spline curves, reported as bytes of file text per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GArc.h"
#include "exchange/IGESEntities.h"
#include "exchange/IGESFile.h"
#include "exchange/IoIges.h"
#include "foundation/TextUtils.h"

namespace sarnova::test {
namespace {

void Prepare() {
    InitializeProgramFolders("");
    RegisterGeometryClasses();
}

std::string TempPath(const char* Name) { return (std::filesystem::temp_directory_path() / Name).string(); }

void FillDocument(TGeometryInterface& Doc, int Count) {
    Doc.BeginUpdate(3);
    for (int I = 0; I < Count; ++I) {
        const double X = I * 0.01;
        switch (I % 3) {
            case 0: {
                auto P = std::make_unique<TGeoPline>();
                for (int K = 0; K < 10; ++K) P->Polyline().AddPoint(X, K, std::sin(K + X));
                Doc.Add(std::move(P));
                break;
            }
            case 1: {
                auto A = std::make_unique<TGeoArc>();
                A->Arc().SetStart(TRPoint(TMVector{X + 1, 0, 0}));
                A->Arc().SetMid(TRPoint(TMVector{X, 1, 0.5}));
                A->Arc().SetEnd(TRPoint(TMVector{X - 1, 0, 1}));
                Doc.Add(std::move(A));
                break;
            }
            default: {
                auto S = std::make_unique<TGeoBSpline>();
                for (int K = 0; K < 8; ++K) S->Spline().AddPoint(X + K, std::cos(K), K * 0.5);
                Doc.Add(std::move(S));
                break;
            }
        }
    }
    Doc.EndUpdate();
}

void BM_ExportIges(benchmark::State& State) {
    Prepare();
    TGeometryInterface Doc;
    FillDocument(Doc, static_cast<int>(State.range(0)));
    const std::string Path = TempPath("bench-export.igs");
    for (auto _ : State) ExportIGES(Path, Doc);
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(Path)));
}
BENCHMARK(BM_ExportIges)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportIges(benchmark::State& State) {
    Prepare();
    TIGESFile File;
    for (int I = 0; I < State.range(0); ++I) {
        auto& C = static_cast<TIGESEntity126&>(*File.Add(std::make_unique<TIGESEntity126>()));
        TBSpline S(4);
        for (int K = 0; K < 20; ++K) S.AddPoint(I + K * 0.37, std::sin(K * 0.3), K * 0.125);
        C.SetSpline(S);
    }
    const std::string Path = TempPath("bench-import.igs");
    File.SaveToFile(Path);
    for (auto _ : State) {
        TGeometryInterface Doc;
        ImportIGES(Path, Doc);
        benchmark::DoNotOptimize(Doc.Count());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(Path)));
}
BENCHMARK(BM_ImportIges)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sarnova::test
