// File sizes for the benchmarks' counters.
#include "bench/bench_files.h"

#include <cstdio>

long long BenchFileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long long size = std::ftell(f);
    std::fclose(f);
    return size;
}
