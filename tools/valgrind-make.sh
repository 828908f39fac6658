#!/usr/bin/env bash
# Runs the railwick tool under valgrind's memcheck on the sample vehicle:
# `make` of the sample project, `compile` of the sample vehicle with models,
# and `dump` of the file that make wrote, each in a scratch copy of
# examples/. Each must succeed with no memcheck error and no definitely lost
# byte (possibly lost blocks are left to the allocator's own pools).
#   tools/valgrind-make.sh [RAILWICK]   (default: the native build's
#   railwick_memcheck, the tool linked with the shared C library)
# VALGRIND_JUNIT=FILE writes a JUnit report of the three runs there.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
railwick=${1:-}
if [ -z "$railwick" ]; then
  railwick="$("$root/tools/build.sh" native railwick_memcheck | tail -n 1)/railwick_memcheck" || exit 1
fi
railwick=$(cd "$(dirname "$railwick")" && pwd)/$(basename "$railwick")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/railwick-valgrind.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cp -r "$root/examples/." "$scratch/"
mkdir -p "$scratch/out"

cases=()
failed=0
# memcheck NAME FOLDER ARGS...: one run in FOLDER; its log is printed on failure.
memcheck() {
  local name=$1 folder=$2
  shift 2
  local log="$scratch/$name.log"
  (cd "$folder" && valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
     --errors-for-leak-kinds=definite --show-leak-kinds=definite --track-fds=no \
     "$railwick" "$@") >"$log" 2>&1
  local status=$?
  local summary
  summary=$(grep -E 'ERROR SUMMARY|in use at exit|definitely lost' "$log" | sed -e 's/^==[0-9]*== *//' -e 's/ (suppressed.*//' | paste -sd ';' - | sed 's/;/; /g')
  if [ "$status" -eq 0 ]; then
    echo "valgrind: $name ok ($summary)"
    cases+=("<testcase name=\"valgrind_$name\" classname=\"valgrind\" status=\"run\"/>")
  else
    echo "valgrind: $name FAILED (exit $status); its log:"
    tail -n 80 "$log"
    cases+=("<testcase name=\"valgrind_$name\" classname=\"valgrind\" status=\"fail\"><failure message=\"exit $status\"/></testcase>")
    failed=$((failed + 1))
  fi
}

memcheck make "$scratch" make sample.xml -o "$scratch/out" --workshop "Railwick"
memcheck compile_models "$scratch/models" compile sample_models.txt -o "$scratch/out/models.z5t"
memcheck dump "$scratch" dump "$scratch/out/RW-101.z5t"

if [ -n "${VALGRIND_JUNIT:-}" ]; then
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuite name=\"valgrind\" tests=\"${#cases[@]}\" failures=\"$failed\">"
    printf '\t%s\n' "${cases[@]}"
    echo '</testsuite>'
  } >"$VALGRIND_JUNIT"
fi
[ "$failed" -eq 0 ]
