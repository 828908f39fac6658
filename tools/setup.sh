#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Quiet and quick when everything is there; safe to run again.
set -euo pipefail

PACKAGES=(
  # native build and tests
  cmake g++ make git python3 googletest libgtest-dev libgmock-dev libbenchmark-dev
  # command-line parsing (header-only)
  libcli11-dev
  # Windows build, and running it headless under Wine
  g++-mingw-w64-x86-64 wine wine64 xvfb xauth fonts-ipafont-gothic libgl1-mesa-dri
  # screenshots, memory checks and fuzzing
  imagemagick valgrind clang libclang-rt-14-dev
  # benchmarks: the reference OBJ reader and MD5
  libtinyobjloader-dev libssl-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    sudo=(sudo)
  else
    echo "setup: missing packages (${missing[*]}); run this as root" >&2
    exit 1
  fi
fi

echo "setup: installing ${missing[*]}"
log=$(mktemp "${TMPDIR:-/tmp}/railwick-setup.XXXXXX")
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -q && "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
  </dev/null >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "setup: apt-get failed (full log: $log)" >&2
  exit 1
fi
rm -f "$log"
