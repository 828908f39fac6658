#!/usr/bin/env bash
# Opens the Windows program under Wine on the sample vehicle, as a user
# would: enters a workshop name at the first start, opens examples/sample.xml,
# runs Make data, and saves a picture of the preview.
#   tools/wine-show-example.sh WINDOWS_BUILD_DIR OUTPUT.png
# On the user's display when DISPLAY is set, otherwise on a private Xvfb.
set -uo pipefail
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
step "first start: workshop name entered" driver workshop-name "Railwick工房" accepted
step "the main window draws" driver wait-frame 30000
step "File > Open examples/sample.xml" driver open-project "Z:$vehicle/sample.xml"
step "Make data (no report: the compilation succeeded)" driver make-data none -
step "preview saved as $png" driver capture "Z:$png"
