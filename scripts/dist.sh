#!/bin/bash
# Builds the Windows package build/dist/quillon-VERSION-win64.zip: the
# program, the converter, the help page, README.txt and LICENSE.txt.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
"$ROOT/scripts/install-deps.sh"
BUILD_DIR="${QUILLON_BUILD_DIR:-build/win32}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" --target dist
