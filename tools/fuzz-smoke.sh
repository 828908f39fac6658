#!/usr/bin/env bash
# Builds every libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time on its seed
# corpus. Fails on any crash, sanitizer report, leak or timeout.
#   tools/fuzz-smoke.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
jobs=${JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DRAILWICK_FUZZ=ON -DRAILWICK_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null

failed=0
passed=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/corpus/$name"
  args=()
  [ -f "$root/fuzz/dict/$name.dict" ] && args+=("-dict=$root/fuzz/dict/$name.dict")
  log="$build/$name.log"
  if (cd "$build" && "$target" "${args[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$log" 2>&1); then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    echo "fuzz: $name ok ($runs runs in ${seconds}s)"
    passed=$((passed + 1))
  else
    echo "fuzz: $name FAILED; the end of its log:"
    tail -n 40 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
