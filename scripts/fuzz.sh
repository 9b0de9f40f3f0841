#!/bin/bash
# Fuzzes the CSV and ILDA readers, in open and in insert mode, the file
# check's walkers (held against the readers), the SVG writer (read back
# with libxml2) and SVG import (read and laid out as a frame): builds the
# libFuzzer targets of tests/fuzz (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz, writes their seed files, and
# runs each target for FUZZ_SECONDS seconds (60 by default), one after the
# other. Fails on any finding; the input behind it is kept in
# build/fuzz/findings. The corpora grow in build/fuzz/corpus from run to run.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
if ! [[ "$FUZZ_SECONDS" =~ ^[1-9][0-9]*$ ]]; then
  echo "FUZZ_SECONDS must be a whole number of seconds, not '$FUZZ_SECONDS'." >&2
  exit 2
fi
"$ROOT/scripts/install-deps.sh" clang libclang-rt-dev libxml2-dev

BUILD=build/fuzz
unset MAKEFLAGS MFLAGS MAKELEVEL  # make fuzz's own settings would only add noise below
cmake -S tests/fuzz -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD" -j 2
rm -rf "$BUILD/seeds" "$BUILD/findings"
"$BUILD/quillon_fuzz_seeds" "$BUILD/seeds"
mkdir -p "$BUILD/findings"
# The targets write every input to a file there; in memory when possible, and
# gone afterwards whatever happens.
inputs="$(mktemp -d /dev/shm/quillon-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$inputs"' EXIT

status=0
for target in csv_open csv_insert ilda_open ilda_insert csv_walk ilda_walk svg_write svg_import; do
  mkdir -p "$BUILD/corpus/$target"
  log="$BUILD/$target.log"
  echo "== $target: $FUZZ_SECONDS s"
  # The store alone is 18 MB and the sanitizers keep freed memory for a
  # while; 1 GB is far above what a sound run needs.
  if ! TMPDIR="$inputs" "$BUILD/${target}_fuzz" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
      -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$BUILD/findings/$target-" \
      "$BUILD/corpus/$target" "$BUILD/seeds/$target" >"$log" 2>&1; then
    status=1
    echo "!! $target found something (full log: $log):"
    grep -E "ERROR|invariant|Test unit written|SUMMARY" "$log" || tail -30 "$log"
  fi
  # Coverage (cov: edges, ft: features) and speed at the end of the run.
  grep -E "^#[0-9]+[[:space:]]+DONE" "$log" || true
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)" "$log" || true
done
if [ "$status" -ne 0 ]; then
  echo "Fuzzing found problems; the inputs are in $BUILD/findings."
else
  echo "Fuzzing found nothing."
fi
exit $status
