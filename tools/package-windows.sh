#!/usr/bin/env bash
# Makes the Windows download from a built Windows build folder with CPack:
#   tools/package-windows.sh BUILD_DIR [DEST_DIR]
# Writes railwick-VERSION-win64.zip into DEST_DIR (default: dist/ in the
# repository) and prints its path. Nothing is built here: build the Windows
# program first (tools/build.sh windows).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/package-windows.sh BUILD_DIR [DEST_DIR]}" && pwd)
dest=${2:-$root/dist}
work=$(mktemp -d "$build/package.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! (cd "$build" && timeout 300 cpack --config CPackConfig.cmake -B "$work" >"$work/cpack.log" 2>&1); then
  tail -n 30 "$work/cpack.log" >&2
  echo "package-windows: cpack failed" >&2
  exit 1
fi
zip=$(find "$work" -maxdepth 1 -name 'railwick-*-win64.zip' | head -n 1)
[ -n "$zip" ] || { echo "package-windows: cpack wrote no railwick-*-win64.zip" >&2; exit 1; }
mkdir -p "$dest"
cp "$zip" "$dest/"
echo "$(cd "$dest" && pwd)/$(basename "$zip")"
