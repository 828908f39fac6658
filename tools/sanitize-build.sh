#!/usr/bin/env bash
# Configures and builds the sanitizer build that the fuzz smoke and the
# sanitizer test run share: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer on every library, the libFuzzer targets and the
# native tests.
#   tools/sanitize-build.sh [CMAKE_OPTION...] -- [TARGET...]
# The folder is build/sanitize (or under $RAILWICK_BUILD_DIR, or
# $SANITIZE_BUILD_DIR); it is printed last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${SANITIZE_BUILD_DIR:-${RAILWICK_BUILD_DIR:-$root/build}/sanitize}
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
[ $# -gt 0 ] && shift
targets=()
for t in "$@"; do targets+=(--target "$t"); done

# A folder configured with another compiler cannot be switched to clang.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$dir/CMakeCache.txt"; then
  rm -rf "$dir"
fi
mkdir -p "$dir"
log="$dir/build.log"
if ! { CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAILWICK_FUZZ=ON \
         -DRAILWICK_TESTS=ON "${options[@]}" &&
       cmake --build "$dir" --parallel "${JOBS:-2}" "${targets[@]}"; } >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "sanitize-build: the build failed (full log: $log)" >&2
  exit 1
fi
echo "$dir"
