#!/usr/bin/env bash
# Configures and builds into build/ (or $HB_BUILD_DIR): every target, or only those named.
#   scripts/build.sh                 the program, the tests and the benchmarks
#   scripts/build.sh harvestbook     the program alone
# A folder is configured once (with Ninja when new, else with the generator it has); the build
# re-runs the configure by itself when a CMakeLists.txt or the set of source files changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HB_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  gen=()
  grep -qs '^CMAKE_GENERATOR:INTERNAL=.' "$build/CMakeCache.txt" || gen=(-G Ninja)
  cmake -S "$root" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if [ -f "$build/build.ninja" ]; then
  cd "$build"
  exec ninja -j"$(nproc)" "$@"
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}" -- --no-print-directory
