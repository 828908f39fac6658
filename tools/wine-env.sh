#!/usr/bin/env bash
# A throw-away Wine environment for running the Windows build headless.
#
# As a wrapper (the environment lives as long as the command):
#   tools/wine-env.sh [--display] [--] COMMAND [ARGS...]
# Sourced (the caller ends it, e.g. with `trap wine_env_down EXIT`):
#   source tools/wine-env.sh
#   wine_env_up [--display]
#   ...
#   wine_env_down
#
# wine_env_up makes a fresh WINEPREFIX in a temporary folder with HOME and
# the XDG folders inside it (Wine writes nothing into the real home), boots
# it, and imports the registry settings the program expects under Wine:
# Japanese font substitutes, Wine-drawn window frames, no audio driver.
# --display also starts a private Xvfb and exports DISPLAY; without it
# DISPLAY is unset, which is all console programs and tests need.
# wine_env_down stops the prefix's wineserver and the Xvfb, and removes the
# prefix and the server folder Wine keeps under /tmp for it.

WINE_ENV_VARIABLES=(HOME XDG_CACHE_HOME XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES)

wine_env_registry() {
  cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
EOF
}

wine_env_fail() {
  echo "wine-env: $*" >&2
  wine_env_down
  return 1
}

# Starts Xvfb on the first free display; Xvfb itself picks the number and
# reports it once it accepts connections.
wine_env_start_xvfb() {
  local fifo="$WINE_ENV_ROOT/display"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >"$WINE_ENV_ROOT/xvfb.log" 2>&1 &
  WINE_ENV_XVFB_PID=$!
  local number=""
  read -r -t 20 number <"$fifo" || true
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
}

wine_env_up() {
  local want_display=0
  [ "${1:-}" = "--display" ] && want_display=1
  WINE_ENV_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/railwick-wine.XXXXXX") || return 1
  # What wine_env_down puts back for a caller that sourced this file.
  WINE_ENV_SAVED=()
  local v
  for v in "${WINE_ENV_VARIABLES[@]}"; do
    [ -n "${!v+set}" ] && WINE_ENV_SAVED+=("$v=${!v}")
  done
  export WINEPREFIX="$WINE_ENV_ROOT/prefix"
  export HOME="$WINE_ENV_ROOT/home"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

  unset DISPLAY
  if [ "$want_display" = 1 ]; then
    wine_env_start_xvfb || { wine_env_fail "Xvfb did not start (see $WINE_ENV_ROOT/xvfb.log)"; return 1; }
  fi

  # wineboot complains about the missing 32-bit loader; that is expected.
  timeout --kill-after=5 180 wineboot -i >"$WINE_ENV_ROOT/wineboot.log" 2>&1 || { wine_env_fail "wineboot failed"; return 1; }
  # The server stays up until wine_env_down: one that stops a few seconds
  # after its last program races the next program's start ("recvmsg:
  # Connection reset by peer").
  timeout 60 wineserver -w >/dev/null 2>&1
  timeout 30 wineserver -p >/dev/null 2>&1 || { wine_env_fail "wineserver did not stay up"; return 1; }
  # regedit reads a UTF-16LE file with a byte-order mark; Japanese names survive only that way.
  { printf '\xff\xfe'; wine_env_registry | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$WINE_ENV_ROOT/harness.reg"
  timeout --kill-after=5 60 wine regedit /S "Z:$WINE_ENV_ROOT/harness.reg" >/dev/null 2>&1 || { wine_env_fail "registry import failed"; return 1; }
}

wine_env_down() {
  [ -n "${WINE_ENV_ROOT:-}" ] || return 0
  if [ -d "${WINEPREFIX:-}" ]; then
    local server_dir=""
    # Debian's Wine names its per-prefix server folder in this file.
    [ -f "$WINEPREFIX/wineserver" ] && server_dir=$(cat "$WINEPREFIX/wineserver")
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
    case "$server_dir" in
      wine-??????) rm -rf "/tmp/$server_dir" "${TMPDIR:-/tmp}/$server_dir" ;;
    esac
  fi
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null
    unset WINE_ENV_XVFB_PID
  fi
  rm -rf "$WINE_ENV_ROOT"
  unset WINE_ENV_ROOT "${WINE_ENV_VARIABLES[@]}"
  local saved
  for saved in "${WINE_ENV_SAVED[@]}"; do export "${saved?}"; done  # NAME=value pairs
}

# Run as a program: wrap one command.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  display=""
  while [ $# -gt 0 ]; do
    case "$1" in
      --display) display=--display; shift ;;
      --) shift; break ;;
      *) break ;;
    esac
  done
  if [ $# -eq 0 ]; then
    echo "usage: tools/wine-env.sh [--display] [--] COMMAND [ARGS...]" >&2
    exit 2
  fi
  trap wine_env_down EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  wine_env_up $display || exit 1
  "$@"
  exit $?
fi
