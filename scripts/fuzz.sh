#!/usr/bin/env bash
# Fuzzes the statement translator and the number and date parsers with libFuzzer (clang-14,
# address and undefined-behaviour sanitizers).
#   scripts/fuzz.sh ci [target...]        bounded run per target (-runs, -seed) over a copy of
#                                         the corpus kept in tests/fuzz/corpus; fails on a finding
#   scripts/fuzz.sh run SECONDS [target...]  a timed run per target; new inputs are merged into
#                                         the kept corpus; prints executions and corpus size
# Targets: translator number date (all when none is named).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-ci}; shift || true
seconds=600
if [ "$mode" = run ]; then seconds=${1:?seconds}; shift; fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(translator number date)
out=${HB_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out"

cxx=clang++-14
flags=(-std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root/src" -I"$root/tests/fuzz" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
srcs=("$root/src/core/sqltranslate.cpp" "$root/src/core/value.cpp" "$root/tests/fuzz/oracle.cpp")
for t in "${targets[@]}"; do
  bin="$out/fuzz_$t"
  if [ ! -x "$bin" ] || [ -n "$(find "${srcs[@]}" "$root/tests/fuzz/driver/fuzz_main.cpp" "$root/src/core/sqltranslate.h" \
         "$root/src/core/value.h" "$root/tests/fuzz/oracle.h" -newer "$bin" 2>/dev/null)" ]; then
    "$cxx" "${flags[@]}" -DHB_FUZZ_TARGET="\"$t\"" "${srcs[@]}" "$root/tests/fuzz/driver/fuzz_main.cpp" "${libs[@]}" -o "$bin"
  fi
done

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  kept="$root/tests/fuzz/corpus/$t"
  work=$(mktemp -d "$out/corpus-$t.XXXXXX")
  cp "$kept"/* "$work"/
  log="$out/fuzz_$t.log"
  if [ "$mode" = ci ]; then
    opts=(-runs="${HB_FUZZ_RUNS:-20000}" -seed="${HB_FUZZ_SEED:-2112}")
  else
    opts=(-max_total_time="$seconds")
  fi
  if ! (cd "$out" && "$out/fuzz_$t" "${opts[@]}" -timeout=10 -max_len=512 -print_final_stats=1 \
        -artifact_prefix="$out/$t-" "$work" >"$log" 2>&1); then
    echo "fuzz $t: finding (see $log)" >&2
    grep -E "^finding|ERROR|SUMMARY" "$log" >&2 || true
    status=1
  fi
  execs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo '?')
  if [ "$mode" = run ] && [ $status -eq 0 ]; then
    # Keeps only the inputs that add coverage.
    "$out/fuzz_$t" -merge=1 "$kept" "$work" >>"$log" 2>&1 || true
  fi
  echo "fuzz $t: executions $execs, corpus $(ls "$work" | wc -l) (kept: $(ls "$kept" | wc -l))"
  rm -rf "$work"
done
exit $status
