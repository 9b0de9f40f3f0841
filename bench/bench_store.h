// The full store the file benchmarks write and read: 999 frames of 3000
// pseudo-random points, three in four of them visible.
#pragma once

#include <cstdint>

enum { BENCH_FRAMES = 999 };

// Fills the store from seed; names are "frame N" padded with spaces.
void FillBenchStore(uint32_t seed);
