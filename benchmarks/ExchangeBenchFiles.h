// What the exchange benchmarks share: files written once to a temporary folder, and an import timed
// over its file with the bytes read per second.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "document/GeometryList.h"
#include "startup/RegisterClasses.h"
#include "foundation/TextUtils.h"

namespace sarnova::bench {

inline std::string BenchFile(const char* Name) {
    const auto Dir = std::filesystem::temp_directory_path() / "sarnova-exchange-bench";
    std::filesystem::create_directories(Dir);
    return (Dir / Name).string();
}

inline void Prepare() {
    InitializeProgramFolders("");
    RegisterGeometryClasses();
}

template <class W>
std::string WriteFile(const char* Name, W Write) {
    const std::string Path = BenchFile(Name);
    std::FILE* F = std::fopen(Path.c_str(), "wb");
    Write(F);
    std::fclose(F);
    return Path;
}

template <class R>
void ReadBench(benchmark::State& State, const std::string& Path, R Read) {
    Prepare();
    for (auto _ : State) {
        TGeometryList Doc;
        Read(Path, Doc);
        benchmark::DoNotOptimize(Doc.Count());
    }
    const double Bytes = double(std::filesystem::file_size(Path));
    State.SetBytesProcessed(static_cast<int64_t>(Bytes) * State.iterations());
    State.counters["MB"] = Bytes / 1e6;
}

}  // namespace sarnova::bench
