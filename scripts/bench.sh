#!/bin/bash
# Builds an optimised native tree and runs the file-format benchmarks (with
# SVG artwork converted by the whole converter process, 1 MB in 5000 paths), then
# the benchmarks of the Win32 suite under Wine: the canvas paint and the
# command latencies of the real program with a full document. Timings depend
# on what else the machine runs: the load average is printed with them.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
"$ROOT/scripts/install-deps.sh"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j "$(nproc)" --target quillon_bench
./build/bench/quillon_bench "$@"
# The Win32 benchmarks (bench/win32) are a program of their own, built on the
# Win32 suite's fixtures.
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/win32 -j "$(nproc)" --target quillon_win32_bench
source scripts/wine-env.sh
uptime
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  'source scripts/wine-env.sh; quillon_wine_init; wine build/win32/quillon_win32_bench.exe; wineserver -w'
# Under Wine every window operation is a round trip to the Wine server and
# the X server; on an idle virtual machine each one may wait for a sleeping
# CPU to wake. The same latencies with all three processes on one CPU:
if command -v taskset >/dev/null; then
  echo "== command latencies with Wine, its server and the X server on one CPU"
  uptime
  taskset -c "${QUILLON_BENCH_CPU:-0}" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'source scripts/wine-env.sh; quillon_wine_init; wine build/win32/quillon_win32_bench.exe --gtest_filter="CommandLatencyBenchmark.*"; wineserver -w'
fi
