// Speed of the CSV reader and writer over a full store (999 frames of 3000
// points, about 45 MB), next to a plain buffered read and write of the same
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
#include "formats/csv_file.h"

namespace {

enum { PLAIN_BLOCK = 64 * 1024 };

std::string benchDir;
std::string csvPath;
std::string plainPath;
std::vector<char> csvBytes;  // the file as WriteCsvFrames wrote it

const uint32_t CSV_SEED = 2463534242u;

void RemoveFiles() {
    if (benchDir.empty()) return;
    std::remove(csvPath.c_str());
    std::remove(plainPath.c_str());
    rmdir(benchDir.c_str());
}

// Creates the folder, the store and one written file the first time.
bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-csv-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    csvPath = benchDir + "/frames.csv";
    plainPath = benchDir + "/plain.bin";
    std::atexit(RemoveFiles);
    FillBenchStore(CSV_SEED);
    if (!WriteCsvFrames(nullptr, csvPath.c_str(), 0, BENCH_FRAMES - 1)) return false;
    FILE* f = std::fopen(csvPath.c_str(), "rb");
    if (!f) return false;
    char block[PLAIN_BLOCK];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0)
        csvBytes.insert(csvBytes.end(), block, block + got);
    std::fclose(f);
    return true;
}

void BM_CsvWrite(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    FillBenchStore(CSV_SEED);
    for (auto _ : state) {
        if (!WriteCsvFrames(nullptr, csvPath.c_str(), 0, BENCH_FRAMES - 1))
            return state.SkipWithError("write failed");
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)csvBytes.size());
}

void BM_CsvRead(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    for (auto _ : state) {
        if (!ReadCsvFrames(nullptr, csvPath.c_str(), 0)) return state.SkipWithError("read failed");
        benchmark::DoNotOptimize(frameStore.numFrames);
    }
    if (frameStore.numFrames != BENCH_FRAMES) state.SkipWithError("frames lost");
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)csvBytes.size());
}

// The same bytes with fwrite; with fsync when state.range(0) is 1, as the
// CSV writer makes sure its data is on disk before replacing the old file.
void BM_PlainWrite(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    const bool sync = state.range(0) != 0;
    for (auto _ : state) {
        FILE* f = std::fopen(plainPath.c_str(), "wb");
        if (!f) return state.SkipWithError("create failed");
        for (size_t at = 0; at < csvBytes.size(); at += PLAIN_BLOCK) {
            size_t size = csvBytes.size() - at < (size_t)PLAIN_BLOCK ? csvBytes.size() - at
                                                                     : (size_t)PLAIN_BLOCK;
            std::fwrite(csvBytes.data() + at, 1, size, f);
        }
        std::fflush(f);
        if (sync) fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)csvBytes.size());
}

void BM_PlainRead(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    static char block[PLAIN_BLOCK];
    for (auto _ : state) {
        FILE* f = std::fopen(csvPath.c_str(), "rb");
        if (!f) return state.SkipWithError("open failed");
        size_t total = 0, got;
        while ((got = std::fread(block, 1, sizeof block, f)) > 0) total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)csvBytes.size());
}

BENCHMARK(BM_CsvWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
