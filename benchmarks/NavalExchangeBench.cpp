// The imports of the naval exchange formats on files of tens of megabytes, with the bytes read per
// second: Ansys scripts, NAPA offset tables, ShipGEN patches, SRF surfaces, IDF sections and IMS
// offsets. (Keldane files hold at most 21 curves of 25 points: there is nothing to scale.)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "ExchangeBenchFiles.h"
#include "exchange/IoAnsys.h"
#include "exchange/IoGF.h"
#include "exchange/IoIdf.h"
#include "exchange/IoNapa.h"
#include "exchange/IoOff.h"
#include "exchange/IoShipGen.h"
#include "exchange/IoSrf.h"

using namespace sarnova;
using namespace sarnova::bench;

namespace {

double Breadth(int I, int J) { return 5 * std::sin(0.001 * I + 0.01 * J) + 6; }

// A finite-element hull: a 700 x 700 net of nodes in four-node elements, and a keypoint outline.
void BM_ImportAnsys(benchmark::State& State) {
    static const std::string Path = WriteFile("script.txt", [](std::FILE* F) {
        std::fputs("/BATCH\n/PREP7\n", F);
        const int N = 700;
        for (int I = 0; I < N; ++I)
            for (int J = 0; J < N; ++J)
                std::fprintf(F, "N,%d,%.6f,%.6f,%.6f\n", I * N + J + 1, 0.1 * I, Breadth(I, J), 0.02 * J);
        for (int I = 1; I < N; ++I)
            for (int J = 1; J < N; ++J)
                std::fprintf(F, "E, %d, %d, %d, %d\n", (I - 1) * N + J, I * N + J, I * N + J + 1, (I - 1) * N + J + 1);
        for (int I = 1; I <= N; ++I) std::fprintf(F, "K,%d,%.6f,%.6f,0\n", I, 0.1 * I, Breadth(I, 0));
        for (int I = 1; I < N; ++I) std::fprintf(F, "L,%d,%d\n", I, I + 1);
        std::fputs("FINI\n", F);
    });
    ReadBench(State, Path, ImportAnsys);
}
BENCHMARK(BM_ImportAnsys)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportNapa(benchmark::State& State) {
    static const std::string Path = WriteFile("offsets.napa", [](std::FILE* F) {
        std::fputs("      X       Y", F);
        for (int C = 0; C < 20; ++C) std::fprintf(F, "  WL%d", C);
        std::fputs("\n", F);
        for (int C = 0; C < 21; ++C) std::fprintf(F, " Z=%.3f", 0.5 * C);
        std::fputs("\n--------\n", F);
        for (int I = 0; I < 200000; ++I) {
            std::fprintf(F, "%10.4f", 0.001 * I);
            for (int C = 0; C < 21; ++C) std::fprintf(F, " %8.4f", Breadth(I, C));
            std::fputs("\n", F);
        }
    });
    ReadBench(State, Path, ImportNapaOffsets);
}
BENCHMARK(BM_ImportNapa)->Unit(benchmark::kMillisecond)->Iterations(3);

// Patches of 16 x 16 control points.
void BM_ImportShipGen(benchmark::State& State) {
    static const std::string Path = WriteFile("patches.pla", [](std::FILE* F) {
        for (int P = 0; P < 2500; ++P) {
            std::fputs("PARCHE\nNP 15\nNS 15\nPUNTOS\n", F);
            for (int I = 0; I < 16; ++I)
                for (int J = 0; J < 16; ++J)
                    std::fprintf(F, "(%d,%d) %.6f %.6f %.6f\n", I, J, P + I * 0.06, Breadth(P, J), 0.5 * J + 1);
            std::fputs("/PUNTOS\n/PARCHE\n", F);
        }
    });
    ReadBench(State, Path, ImportShipGen);
}
BENCHMARK(BM_ImportShipGen)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportSrf(benchmark::State& State) {
    static const std::string Path = WriteFile("hull.srf", [](std::FILE* F) {
        const int Surfaces = 20, NU = 200, NV = 200;
        std::fprintf(F, "Untitled       ~None available\n%d\n", Surfaces);
        for (int S = 0; S < Surfaces; ++S) {
            std::fprintf(F, "S%d\nnonrational, nonrational\nopen, open\n4, 4\n%d, %d\n", S, NU, NV);
            for (int D = 0; D < 2; ++D) {
                for (int K = 0; K < NU + 4; ++K) std::fprintf(F, K + 1 < NU + 4 ? "%d, " : "%d\n", K);
            }
            for (int I = 0; I < NU; ++I)
                for (int J = 0; J < NV; ++J) std::fprintf(F, "%.6f, %.6f, %.6f, 1\n", 0.1 * I + S, Breadth(I, J), -0.05 * J);
        }
    });
    ReadBench(State, Path, ImportSrf);
}
BENCHMARK(BM_ImportSrf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportIdf(benchmark::State& State) {
    static const std::string Path = WriteFile("sections.idf", [](std::FILE* F) {
        const int Parts = 100, Curves = 20, Points = 400;
        std::fprintf(F, "$IDF\n$ENTITY\nSECTIONS\n$GEOMETRY\n%d\n", Parts);
        for (int P = 0; P < Parts; ++P) {
            std::fprintf(F, "$PART\nSTATION %d\n%d\n", P, Curves);
            for (int C = 0; C < Curves; ++C) {
                std::fprintf(F, "$CURVE\nc\nc\n%d\n", Points);
                for (int K = 0; K < Points; ++K) std::fprintf(F, "%.6f, %.6f, %.6f\n", 0.5 * P, Breadth(K, C), 0.01 * K);
            }
        }
    });
    ReadBench(State, Path, ImportIdf);
}
BENCHMARK(BM_ImportIdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// 400 components of 50 sections of 100 points.
void BM_ImportGF(benchmark::State& State) {
    static const std::string Path = WriteFile("ship.gf", [](std::FILE* F) {
        const int Components = 400;
        std::fputs("Ship\nReference\nP:M\nP:M\n", F);
        for (int C = 0; C < Components; ++C) {
            std::fprintf(F, "*\nS%d\n50\n", C + 1);
            for (int K = 0; K < 50; ++K) {
                std::fprintf(F, "%.3f,100\n", 0.5 * K);
                for (int I = 0; I < 100; ++I) std::fprintf(F, "%.3f,%.3f\n", Breadth(K, I), 0.1 * I);
            }
            std::fputs("0.0,0.0,0.0\n", F);
        }
        for (int C = 0; C < Components; ++C)
            std::fprintf(F, "**\nC%d.S\n1\n1.000\n0.000,0.000,0.000\nS%d\n***\nP%d.S\\\nSEA WATER\n0\n1.025\n"
                            "0.000,0.000,0.000\n1\nC%d.S\n",
                         C, C + 1, C, C);
        std::fputs("****\n", F);
    });
    ReadBench(State, Path, ImportGF);
}
BENCHMARK(BM_ImportGF)->Unit(benchmark::kMillisecond)->Iterations(3);

// The format's limits keep a file small (77 sections of 47 points); it is read many times over.
void BM_ImportOff(benchmark::State& State) {
    static const std::string Path = WriteFile("yacht.off", [](std::FILE* F) {
        std::fputs(" 01:02:03, 04/05/06,    0,   1,yacht.off,Yacht                   ,    0 \n", F);
        std::fputs("  0.000,  0.000,  0.000,  0.000\n  0.000,  0.000,  0.000,  0.000\n", F);
        std::fputs("     77,12.000 ,  0.000, 0.000\n", F);
        for (int S = 0; S < 77; ++S) {
            std::fprintf(F, "%10.4f,%3d,%3d,%3d,%4d\n", 150.0 * S, 47, 0, 0, S + 1);
            for (int K = 0; K < 47; ++K) std::fprintf(F, "%10.4f,%10.4f,%3d\n", 30.0 * K, 100 * Breadth(S, K), 0);
        }
    });
    ReadBench(State, Path, ImportOff);
}
BENCHMARK(BM_ImportOff)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
