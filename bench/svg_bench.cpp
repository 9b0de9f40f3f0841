// Speed of the SVG contact sheet writer over the store the CSV benchmark
// writes (999 frames of 3000 random points), to hold beside BM_CsvWrite:
// the sheet may take at most twice as long. The file lives in a temporary
// folder removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/bench_files.h"
#include "bench/bench_store.h"
#include "document/frame_store.h"
#include "formats/svg_file.h"

namespace {

const uint32_t CSV_SEED = 2463534242u;  // the CSV benchmark's store

std::string benchDir;
std::string svgPath;

void RemoveFiles() {
    if (benchDir.empty()) return;
    std::remove(svgPath.c_str());
    rmdir(benchDir.c_str());
}

bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-svg-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    svgPath = benchDir + "/frames.svg";
    std::atexit(RemoveFiles);
    return true;
}

void BM_SvgSheetWrite(benchmark::State& state) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    FillBenchStore(CSV_SEED);
    for (auto _ : state) {
        if (!WriteSvgSheet(nullptr, svgPath.c_str(), 0, BENCH_FRAMES - 1))
            return state.SkipWithError("write failed");
    }
    const long long size = BenchFileSize(svgPath);
    state.SetBytesProcessed((int64_t)state.iterations() * size);
    state.counters["bytes_per_point"] = (double)size / ((double)BENCH_FRAMES * MAX_POINTS);
}

BENCHMARK(BM_SvgSheetWrite)->Unit(benchmark::kMillisecond);

}  // namespace
