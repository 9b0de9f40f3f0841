// Filling the store for the file benchmarks.
#include "bench/bench_store.h"

#include <cstdio>
#include <cstring>

#include "document/document_reset.h"
#include "document/frame_store.h"

void FillBenchStore(uint32_t seed) {
    ResetDocument();
    ScanSpeed = 24000;
    BlankingDelay = 7;
    for (int f = 0; f < BENCH_FRAMES; ++f) {
        for (int i = 0; i < MAX_POINTS; ++i) {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            VectorPoint& p = frameStore.frames[f][i];
            p.flags = (seed & 3) ? POINT_VISIBLE : 0;
            p.x = (int16_t)(seed >> 8);
            p.y = (int16_t)(seed >> 16);
        }
        frameStore.pointCounts[f] = MAX_POINTS;
        SetBlankName(&frameStore.frameNames[f]);
        std::snprintf(frameStore.frameNames[f].bytes, 12, "frame %d", f);
        frameStore.frameNames[f].bytes[std::strlen(frameStore.frameNames[f].bytes)] = ' ';
    }
    frameStore.numFrames = BENCH_FRAMES;
}
