#!/usr/bin/env bash
# Configures and builds into build/ (or $HB_BUILD_DIR): every target, or only those named.
#   scripts/build.sh                 the program, the tests and the benchmarks
#   scripts/build.sh harvestbook     the program alone
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HB_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}" -- --no-print-directory
