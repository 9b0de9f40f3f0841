// Speed of the ILDA reader and writer over a full store (999 frames of 3000
// points, about 24 MB), next to a plain buffered read and write of the same
// bytes in 64 KB blocks. The files live in a temporary folder removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "document/frame_store.h"
#include "formats/ilda_file.h"

namespace {

enum { PLAIN_BLOCK = 64 * 1024 };

std::string benchDir;
std::string ildaPath;
std::string plainPath;
std::vector<char> ildaBytes;  // the file as WriteIldaFrames wrote it

const uint32_t ILDA_SEED = 88172645u;

void RemoveFiles() {
    if (benchDir.empty()) return;
    std::remove(ildaPath.c_str());
    std::remove(plainPath.c_str());
    rmdir(benchDir.c_str());
}

bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-ilda-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    ildaPath = benchDir + "/frames.ild";
    plainPath = benchDir + "/plain.bin";
    std::atexit(RemoveFiles);
    FillBenchStore(ILDA_SEED);
    if (!WriteIldaFrames(nullptr, ildaPath.c_str(), 0, BENCH_FRAMES - 1)) return false;
    FILE* f = std::fopen(ildaPath.c_str(), "rb");
    if (!f) return false;
    char block[PLAIN_BLOCK];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0)
        ildaBytes.insert(ildaBytes.end(), block, block + got);
    std::fclose(f);
    return true;
}

void BM_IldaWrite(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    FillBenchStore(ILDA_SEED);
    for (auto _ : state) {
        if (!WriteIldaFrames(nullptr, ildaPath.c_str(), 0, BENCH_FRAMES - 1))
            return state.SkipWithError("write failed");
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)ildaBytes.size());
}

void BM_IldaRead(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    for (auto _ : state) {
        if (!ReadIldaFrames(nullptr, ildaPath.c_str(), 0))
            return state.SkipWithError("read failed");
        benchmark::DoNotOptimize(frameStore.numFrames);
    }
    if (frameStore.numFrames != BENCH_FRAMES) state.SkipWithError("frames lost");
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)ildaBytes.size());
}

// The same bytes with fwrite; with fsync when state.range(0) is 1, as the
// ILDA writer makes sure its data is on disk before replacing the old file.
void BM_IldaPlainWrite(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    const bool sync = state.range(0) != 0;
    for (auto _ : state) {
        FILE* f = std::fopen(plainPath.c_str(), "wb");
        if (!f) return state.SkipWithError("create failed");
        for (size_t at = 0; at < ildaBytes.size(); at += PLAIN_BLOCK) {
            size_t rest = ildaBytes.size() - at;
            std::fwrite(ildaBytes.data() + at, 1,
                        rest < (size_t)PLAIN_BLOCK ? rest : (size_t)PLAIN_BLOCK, f);
        }
        std::fflush(f);
        if (sync) fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)ildaBytes.size());
}

void BM_IldaPlainRead(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    static char block[PLAIN_BLOCK];
    for (auto _ : state) {
        FILE* f = std::fopen(ildaPath.c_str(), "rb");
        if (!f) return state.SkipWithError("open failed");
        size_t total = 0, got;
        while ((got = std::fread(block, 1, sizeof block, f)) > 0) total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)ildaBytes.size());
}

BENCHMARK(BM_IldaWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IldaPlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IldaRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IldaPlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
