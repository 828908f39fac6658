#!/usr/bin/env bash
# Opens the Windows program under Wine on the sample vehicle, as a user
# would: enters a workshop name at the first start, opens examples/sample.xml,
# runs Make data, and saves a picture of the preview.
#   tools/wine-show-example.sh WINDOWS_BUILD_DIR OUTPUT.png
# On the user's display when DISPLAY is set, otherwise on a private Xvfb.
set -uo pipefail
export LANG=C.UTF-8  # the driver's Japanese arguments reach Wine intact
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: tools/wine-show-example.sh WINDOWS_BUILD_DIR OUTPUT.png}
png=${2:?usage: tools/wine-show-example.sh WINDOWS_BUILD_DIR OUTPUT.png}
user_display=${DISPLAY:-}

source "$root/tools/wine-env.sh"
program_pid=""
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
  wine_env_down
}
trap finish EXIT
if [ -n "$user_display" ]; then
  wine_env_up && export DISPLAY="$user_display"
else
  wine_env_up --display
fi || { echo "wine-show-example: the Wine environment did not start" >&2; exit 1; }

vehicle="$WINE_ENV_ROOT/vehicle"
mkdir -p "$vehicle"
cp -r "$root/examples/models" "$root/examples/assets" "$root/examples/sample.xml" "$vehicle/"
driver() { wine "$build/railwick_e2e_driver.exe" "$@" >/dev/null 2>&1; }
step() {
  local what=$1
  shift
  if "$@"; then echo "  $what"; else echo "wine-show-example: failed: $what" >&2; exit 1; fi
}

wine "$build/Railwick.exe" >"$WINE_ENV_ROOT/program.log" 2>&1 &
program_pid=$!
step "first start: workshop name entered" eval 'driver wait-dialog 環境設定 30000 &&
  driver set-text 環境設定 1147 Railwick工房 && driver press 環境設定 1 && driver wait-gone 環境設定'
step "the main window draws" driver wait-frame 30000
step "File > Open examples/sample.xml" eval 'driver command 32772 &&
  driver set-text ファイル選択 1148 "Z:${vehicle//\//\\}" && driver press ファイル選択 1 && sleep 0.5 &&
  driver choose-file ファイル選択 sample.xml'
step "Make data" driver command 32778
for _ in $(seq 1 300); do [ -s "$vehicle/RW-101.z5t" ] && break; sleep 0.2; done
step "the data file is written (the compilation succeeded)" test -s "$vehicle/RW-101.z5t"
step "preview saved as $png" driver capture "Z:$png"
