// Speed of SVG artwork into a frame: a drawing of 1 MB in 5000 paths, as a
// drawing program saves a long pen stroke cut into pieces (each path goes
// on where the one before ends, in layers with transforms and styles),
// converted by the quillon-convert program, whole process, into an ILDA
// file. It must take less than a second. The reading and layout alone, in
// this process, stand beside it. Files live in a temporary folder removed
// at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "bench/bench_files.h"
#include "convert/svg_import.h"
#include "document/document_reset.h"
#include "document/frame_store.h"

namespace {

enum { PATHS = 5000, PIECES = 3, LAYER = 500 };

std::string benchDir, svgPath, ildPath;

void RemoveFiles() {
    if (benchDir.empty()) return;
    std::remove(svgPath.c_str());
    std::remove(ildPath.c_str());
    rmdir(benchDir.c_str());
}

// A rosette (a hypotrochoid), its position and direction at t.
void Rosette(double t, double* x, double* y, double* dx, double* dy) {
    const double R = 5, r = 3, d = 5, k = (R - r) / r;
    *x = 500 + 80 * ((R - r) * std::cos(t) + d * std::cos(k * t));
    *y = 500 + 80 * ((R - r) * std::sin(t) - d * std::sin(k * t));
    *dx = 80 * (-(R - r) * std::sin(t) - d * k * std::sin(k * t));
    *dy = 80 * ((R - r) * std::cos(t) - d * k * std::cos(k * t));
}

bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-artwork-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    svgPath = benchDir + "/rosette.svg";
    ildPath = benchDir + "/rosette.ild";
    std::atexit(RemoveFiles);
    FILE* file = std::fopen(svgPath.c_str(), "wb");
    if (!file) return false;
    std::fprintf(
        file,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "width=\"1000\" height=\"1000\" viewBox=\"0 0 1000 1000\">\n");
    const double span = 6 * 3.14159265358979323846, step = span / (PATHS * PIECES);
    for (int p = 0; p < PATHS; ++p) {
        if (p % LAYER == 0)
            std::fprintf(file,
                         "%s<g id=\"layer%d\" transform=\"translate(0,0) rotate(0 500 500)\">\n",
                         p ? "</g>\n" : "", p / LAYER);
        double x, y, dx, dy;
        Rosette(p * PIECES * step, &x, &y, &dx, &dy);
        std::fprintf(file, "<path id=\"path%d\" d=\"M %.3f,%.3f", p, x, y);
        for (int i = 1; i <= PIECES; ++i) {
            double x1, y1, dx1, dy1;
            Rosette((p * PIECES + i) * step, &x1, &y1, &dx1, &dy1);
            std::fprintf(file, " C %.3f,%.3f %.3f,%.3f %.3f,%.3f", x + dx * step / 3,
                         y + dy * step / 3, x1 - dx1 * step / 3, y1 - dy1 * step / 3, x1, y1);
            x = x1, y = y1, dx = dx1, dy = dy1;
        }
        std::fprintf(file, "\" style=\"fill:none;stroke:#000000;stroke-width:0.5\"/>\n");
    }
    std::fprintf(file, "</g>\n</svg>\n");
    return std::fclose(file) == 0;
}

void BM_SvgArtworkConvertProcess(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("cannot write the drawing");
        return;
    }
    const std::string command = "'" QUILLON_CONVERT_PATH "' '" + svgPath + "' '" + ildPath + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the converter failed");
            return;
        }
    }
    state.counters["svg_bytes"] = (double)BenchFileSize(svgPath);
    state.counters["ild_bytes"] = (double)BenchFileSize(ildPath);
}
BENCHMARK(BM_SvgArtworkConvertProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_SvgArtworkReadAndLayOut(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("cannot write the drawing");
        return;
    }
    const FrameLayoutOptions options = {DWELL_DEFAULT, MARGIN_DEFAULT, MAX_POINTS};
    char reason[IMPORT_REASON_SIZE];
    for (auto _ : state) {
        ResetDocument();
        if (!ImportSvgFrame(svgPath.c_str(), &options, 0, reason, sizeof reason)) {
            state.SkipWithError(reason);
            return;
        }
    }
    state.counters["points"] = frameStore.pointCounts[0];
}
BENCHMARK(BM_SvgArtworkReadAndLayOut)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
