#!/usr/bin/env bash
# Configures (once) and builds one of the two builds:
#   tools/build.sh native|windows [TARGET...]
# The build folders are build/native and build/windows in the repository, or
# under $RAILWICK_BUILD_DIR when that is set. Prints the build folder last.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: tools/build.sh native|windows [TARGET...]}
shift
dir="${RAILWICK_BUILD_DIR:-$root/build}/$kind"

options=(-DCMAKE_BUILD_TYPE="${RAILWICK_BUILD_TYPE:-RelWithDebInfo}")
case "$kind" in
  native) ;;
  windows) options+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake") ;;
  *) echo "tools/build.sh: unknown build '$kind' (native or windows)" >&2; exit 2 ;;
esac

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$dir" "${options[@]}" >&2
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" --parallel 2 "${targets[@]}" >&2
echo "$dir"
