#!/usr/bin/env bash
# Builds every libFuzzer target (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time on its seed
# corpus, two at a time, as the ctest entries labelled "fuzz". Fails on any
# crash, sanitizer report, leak, slow input or memory blow-up.
#   tools/fuzz-smoke.sh [SECONDS_PER_TARGET]   (default 60)
# FUZZ_JUNIT=FILE writes ctest's JUnit report there. The build folder is
# shared with tools/sanitize-tests.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$("$root/tools/sanitize-build.sh" -DRAILWICK_FUZZ_SECONDS="$seconds" -- \
  $(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//') | tail -n 1)
report=()
[ -n "${FUZZ_JUNIT:-}" ] && report=(--output-junit "$FUZZ_JUNIT")
rm -f "$build"/fuzz/*.result
status=0
ctest --test-dir "$build" -L fuzz --parallel "${JOBS:-2}" --output-on-failure "${report[@]}" >/dev/null || status=$?
cat "$build"/fuzz/*.result 2>/dev/null
[ "$status" -eq 0 ] || echo "fuzz smoke: failed (ctest exit $status)"
exit "$status"
