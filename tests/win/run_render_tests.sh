#!/bin/sh
# Runs a Windows test executable under Wine on a private Xvfb display with a
# fresh Wine prefix, and always cleans up what it started.
# Usage: run_render_tests.sh path/to/railwick_render_tests.exe [gtest args...]
set -u
exe=$1
shift

display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done

prefix=$(mktemp -d /tmp/railwick-render-wine.XXXXXX)
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!

cleanup() {
  WINEPREFIX="$prefix/wine" wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  if [ -n "${server_dir:-}" ]; then rm -rf "$server_dir"; fi
  rm -rf "$prefix"
}
trap cleanup EXIT INT TERM

mkdir -p "$prefix/wine" "$prefix/home" "$prefix/cache" "$prefix/config" "$prefix/data"
server_dir=/tmp/.wine-$(id -u)/server-$(printf '%x-%x' "$(stat -c %d "$prefix/wine")" "$(stat -c %i "$prefix/wine")")

# Wait for the display to accept clients.
i=0
while [ ! -e "/tmp/.X11-unix/X$display" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done

DISPLAY=":$display" WINEPREFIX="$prefix/wine" HOME="$prefix/home" XDG_CACHE_HOME="$prefix/cache" \
  XDG_CONFIG_HOME="$prefix/config" XDG_DATA_HOME="$prefix/data" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wine "$exe" "$@"
status=$?
exit $status
