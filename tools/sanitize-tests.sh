#!/usr/bin/env bash
# Builds the native tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, in the build the fuzz smoke shares) and runs them; any report,
# leaks included, fails the run.
# SANITIZE_JUNIT=FILE writes ctest's JUnit report there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$("$root/tools/sanitize-build.sh" -- railwick_tests railwick resource_pack | tail -n 1)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
report=()
[ -n "${SANITIZE_JUNIT:-}" ] && report=(--output-junit "$SANITIZE_JUNIT")
mkdir -p "$build/test-tmp"
TMPDIR="$build/test-tmp" ctest --test-dir "$build" -LE fuzz --parallel "${JOBS:-2}" --output-on-failure "${report[@]}"
