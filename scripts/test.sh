#!/bin/bash
# Builds both trees and the Windows package, and runs every test: native
# (plain and sanitized) with ctest, the Win32 suite under Wine on a virtual
# display, and the package test. Real-file samples are read when
# QUILLON_SAMPLES (or ../shared/testdata) provides them, skipped otherwise.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
"$ROOT/scripts/install-deps.sh"
JOBS=$(nproc)

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$JOBS"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build/asan -j "$JOBS" --target quillon_tests quillon-convert
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/win32 -j "$JOBS"
# The Windows package, which the package test unpacks and runs.
cmake --build build/win32 --target dist

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$JOBS" || status=1
echo "== native tests with AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir build/asan --output-on-failure -j "$JOBS" || status=1
echo "== Win32 tests under Wine"
source scripts/wine-env.sh
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  'source scripts/wine-env.sh; quillon_wine_init; ctest --test-dir build/win32 --output-on-failure' || status=1
exit $status
