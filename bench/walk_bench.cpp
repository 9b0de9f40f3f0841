// Speed of the file check's walkers on pathological files, with the report
// going to /dev/null: an ILDA file of 2,000,000 sections of one record
// (80 MB) and a CSV file of 8,000,000 "+" lines (24 MB), whose reports are
// summed up into a few hundred lines. The files live in a temporary folder
// removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "formats/csv_walk.h"
#include "formats/ilda_walk.h"

namespace {

enum { ILDA_SECTIONS = 2000000, CSV_SEPARATORS = 8000000 };

std::string benchDir;
std::string ildaPath;
std::string csvPath;

void RemoveFiles() {
    if (benchDir.empty()) return;
    std::remove(ildaPath.c_str());
    std::remove(csvPath.c_str());
    rmdir(benchDir.c_str());
}

bool WriteRepeated(const std::string& path, const std::string& head, const std::string& unit,
                   long count) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(head.data(), 1, head.size(), f);
    std::string block;
    for (int i = 0; i < 4096; ++i) block += unit;
    for (long done = 0; done < count; done += 4096) {
        const long n = count - done < 4096 ? count - done : 4096;
        std::fwrite(block.data(), 1, unit.size() * (size_t)n, f);
    }
    return std::fclose(f) == 0;
}

bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-walk-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    ildaPath = benchDir + "/tiny.ild";
    csvPath = benchDir + "/plus.csv";
    std::atexit(RemoveFiles);
    // One record each, numbered 0 and totalled as a careful writer would
    // leave them for the first frame; the rest disagree, as they must.
    std::string section("ILDA\0\0\0\0tiny            \0\x01\0\0\0\x01\0\0", 32);
    section += std::string("\0\x10\0\x20\0\0\x80\x01", 8);
    return WriteRepeated(ildaPath, "", section, ILDA_SECTIONS) &&
           WriteRepeated(csvPath, "VECTOR,30000,3\r\n", "+\r\n", CSV_SEPARATORS);
}

void Walk(benchmark::State& state, int (*walker)(const char*, FILE*, ReadAccount*),
          const std::string& path) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    FILE* null = std::fopen("/dev/null", "w");
    if (!null) return state.SkipWithError("no /dev/null");
    for (auto _ : state) {
        ReadAccount account;
        if (walker(path.c_str(), null, &account) != WALK_DONE)
            return state.SkipWithError("walk failed");
        benchmark::DoNotOptimize(account);
    }
    std::fclose(null);
}

void BM_CheckIldaTwoMillionSections(benchmark::State& state) {
    Walk(state, WalkIldaFile, ildaPath);
}
BENCHMARK(BM_CheckIldaTwoMillionSections)->Unit(benchmark::kMillisecond);

void BM_CheckCsvEightMillionSeparators(benchmark::State& state) {
    Walk(state, WalkCsvFile, csvPath);
}
BENCHMARK(BM_CheckCsvEightMillionSeparators)->Unit(benchmark::kMillisecond);

}  // namespace
