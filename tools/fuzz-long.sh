#!/usr/bin/env bash
# Runs every libFuzzer target (or those named) for a long time, one after
# another, and prints one line per target: runs, coverage, new inputs, peak
# memory; any finding fails and keeps its input in build/sanitize/fuzz/artifacts/.
#   tools/fuzz-long.sh [SECONDS_PER_TARGET] [TARGET...]   (default 600, all)
# Not part of ./run-tests: ten minutes a target is for a release, not for CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//')
build=$("$root/tools/sanitize-build.sh" -- "${targets[@]}" | tail -n 1)
status=0
for target in "${targets[@]}"; do
  "$root/fuzz/run_target.sh" "$build/fuzz/$target" "$seconds" "$build/fuzz/corpus/$target" \
    "$root/fuzz/corpus/$target" || status=1
done
exit "$status"
