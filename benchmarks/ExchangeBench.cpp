// The exchange formats at the size of a whole hull: a DXF export of 100,000 entities, and the imports
// of DXF (200,000 3DFACE entities; 100,000 polylines), ASCII STL and CSV files, with the bytes read per
// second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ExchangeBenchFiles.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "startup/RegisterClasses.h"
#include "entities/GGonList.h"
#include "exchange/IoCSV.h"
#include "exchange/IoDxf.h"
#include "exchange/IoSTL.h"
#include "foundation/TextUtils.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"

using namespace sarnova;
using namespace sarnova::bench;

namespace {

TMVector Hull(int I, int J, int N) {
    const double U = double(I) / N, V = double(J) / N;
    return {120 * U, 9 * std::sin(3 * V) * (1 - U * U), 12 * std::cos(3 * V) + 0.1 * U * V};
}

// 100,000 entities: polylines of 10 points, with one polygon list of 50,000 facets among them.
void BM_ExportDXF(benchmark::State& State) {
    Prepare();
    TGeometryList Doc;
    // One bracket, as an import adds its entities: a list told of every addition on its own is slow.
    Doc.BeginUpdate(0);
    for (int E = 0; E < 99999; ++E) {
        auto P = std::make_unique<TGeoPline>();
        for (int K = 0; K < 10; ++K) P->Polyline().AddVector(Hull(E % 300, K + E / 300, 300));
        Doc.Add(std::move(P));
    }
    auto Facets = std::make_unique<TGeoPGonlist>();
    for (int I = 0; I < 50000; ++I) Facets->Facets().Add(TriangleFromVectors(Hull(I, 0, 300), Hull(I, 1, 300), Hull(I + 1, 1, 300)));
    Doc.Add(std::move(Facets));
    Doc.EndUpdate();
    const std::string Path = BenchFile("export.dxf");
    for (auto _ : State) ExportDXF(Path, Doc);
    State.counters["entities"] = Doc.Count();
    State.counters["MB"] = double(std::filesystem::file_size(Path)) / 1e6;
}
BENCHMARK(BM_ExportDXF)->Unit(benchmark::kMillisecond)->Iterations(3);

// The file the export above writes, read back: 100,000 POLYLINE entities with their VERTEX records.
void BM_ImportDXFPolylines(benchmark::State& State) {
    Prepare();
    static const std::string Path = [] {
        const std::string P = BenchFile("polylines.dxf");
        TGeometryList Doc;
        Doc.BeginUpdate(0);
        for (int E = 0; E < 100000; ++E) {
            auto L = std::make_unique<TGeoPline>();
            for (int K = 0; K < 10; ++K) L->Polyline().AddVector(Hull(E % 300, K + E / 300, 300));
            Doc.Add(std::move(L));
        }
        Doc.EndUpdate();
        ExportDXF(P, Doc);
        return P;
    }();
    ReadBench(State, Path, ImportDXF);
}
BENCHMARK(BM_ImportDXFPolylines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportDXF3DFaces(benchmark::State& State) {
    static const std::string Path = WriteFile("faces.dxf", [](std::FILE* F) {
        std::fputs("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n", F);
        for (int I = 0; I < 200000; ++I) {
            std::fputs("  0\r\n3DFACE\r\n  8\r\n0\r\n", F);
            for (int K = 0; K < 4; ++K) {
                const TMVector V = Hull(I % 500 + K % 2, I / 500 + K / 2, 500);
                std::fprintf(F, " %d\r\n%.6f\r\n %d\r\n%.6f\r\n %d\r\n%.6f\r\n", 10 + K, V.X, 20 + K, V.Y, 30 + K, V.Z);
            }
        }
        std::fputs("  0\r\nENDSEC\r\n  0\r\nEOF\r\n", F);
    });
    ReadBench(State, Path, ImportDXF);
}
BENCHMARK(BM_ImportDXF3DFaces)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportSTL(benchmark::State& State) {
    static const std::string Path = WriteFile("hull.stl", [](std::FILE* F) {
        std::fputs("solid hull\n", F);
        for (int I = 0; I < 200000; ++I) {
            std::fputs("  facet normal 0.000000e+00 0.000000e+00 1.000000e+00\n    outer loop\n", F);
            for (int K = 0; K < 3; ++K) {
                const TMVector V = Hull(I % 500 + K % 2, I / 500 + K / 2, 500);
                std::fprintf(F, "      vertex %e %e %e\n", V.X, V.Y, V.Z);
            }
            std::fputs("    endloop\n  endfacet\n", F);
        }
        std::fputs("endsolid hull\n", F);
    });
    ReadBench(State, Path, ImportSTL);
}
BENCHMARK(BM_ImportSTL)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportCSV(benchmark::State& State) {
    static const std::string Path = WriteFile("sections.csv", [](std::FILE* F) {
        for (int I = 0; I < 2000; ++I) {
            for (int J = 0; J < 500; ++J) {
                const TMVector V = Hull(I, J, 2000);
                std::fprintf(F, "%.6f,%.6f,%.6f\n", V.X, V.Y, V.Z);
            }
            std::fputs("\n", F);
        }
    });
    ReadBench(State, Path, ImportCSVPolylines);
}
BENCHMARK(BM_ImportCSV)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
