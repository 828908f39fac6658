# What the Wine end-to-end scripts share, sourced after each has set $root,
# $build, $out and $e2e_name (the word of its summary line): the tally and
# its checks, the driver, the start and end of a run, and the steps more
# than one run takes.
source "$root/tools/wine-env.sh"
export LANG=C.UTF-8  # the driver's Japanese arguments reach Wine intact

passed=0
failed=0
program_pid=""

pass() { passed=$((passed + 1)); echo "ok   $*"; }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}

# A program still running on the way out is stopped before Wine is.
e2e_cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  wine_env_down
}

# Runs one step (a driver, a tool) with a bound of its own: a Wine call that
# never returns is ended with status 124 instead of holding the run until
# ctest's limit.
e2e_step_seconds=90
e2e_bounded() { timeout --kill-after=5 "$e2e_step_seconds" "$@"; }

# e2e_stop WHAT [threads]: a failed step ends the run at once (the steps
# after it would only wait in vain on a program in an unknown state), with
# a picture of the screen, where the program's threads stood (for a step
# that ran out of time) and the last lines of the run's logs.
e2e_stop() {
  local log
  fail "$1"
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null &&
    timeout 30 import -window root "$out/stopped.png" 2>/dev/null; then
    echo "     screen: $out/stopped.png"
  fi
  # winedbg walks every process; the program's threads are shown.
  if [ "${2:-}" = threads ] && command -v winedbg >/dev/null; then
    timeout 60 winedbg --command "bt all" >"$out/threads.txt" 2>&1
    echo "     the program's threads (all processes: $out/threads.txt):"
    awk '/^Backtracing for thread/ { show = /Railwick\.exe/ } show' "$out/threads.txt" | head -n 80 | sed 's/^/     /'
  fi
  for log in "$out"/*.log; do
    [ -s "$log" ] || continue
    echo "     last lines of $log:"
    tail -n 20 "$log" | sed 's/^/     | /'
  done
  e2e_finish
  exit 1
}

# must NAME COMMAND...: like check, but a failure ends the run (e2e_stop).
must() {
  local name=$1
  shift
  if "$@"; then pass "$name"; else e2e_stop "$name"; fi
}

# One step of the driver, logged in $out/driver.log; a failed step's
# reasons are shown. Status 3 is the driver's own bound running out, 124
# and 137 the bound around it: the run ends there.
driver() {
  local code
  e2e_bounded wine "$build/railwick_e2e_driver.exe" "$@" 2>"$out/step.err"
  code=$?
  # Every ending of the driver's own says why; silence is an end it did
  # not reach (Wine's loader, or the process killed).
  [ "$code" -ne 0 ] && [ ! -s "$out/step.err" ] && echo "driver: exit $code with no word of its own" >"$out/step.err"
  { echo "driver $*"; cat "$out/step.err"; } >>"$out/driver.log"
  case $code in
    0) ;;
    3 | 124 | 137) e2e_stop "driver $*: timed out" threads ;;
    *) echo "     driver $*: exit $code" && sed 's/^/     | /' "$out/step.err" ;;
  esac
  return $code
}

# The scripts start the program as `wine start /wait /unix PROGRAM`: the exit
# code is then the one Windows reports for the program, not the end of
# Wine's own process for it, which now and then dies of a segmentation fault
# in its teardown (about once in forty menu runs, after "No" or "Yes" had
# ended the program).
# Waits up to $2 seconds for process $1 to end and sets exit_code (124 when
# it was still running, and then it is stopped). Not in a subshell: only
# the shell that started the program can wait for it.
wait_program() {
  local pid=$1 seconds=$2
  exit_code=124
  for _ in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      exit_code=$?
      return
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# A Linux path as the program sees it on Wine's Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# wait_file PATTERN SECONDS FOLDER: waits for a file in FOLDER matching the
# find pattern with bytes in it; its path is left in $made.
wait_file() {
  local pattern=$1 seconds=$2 folder=$3
  made=""
  for _ in $(seq 1 $((seconds * 5))); do
    made=$(find "$folder" -maxdepth 1 -name "$pattern" -size +0 2>/dev/null | head -n 1)
    [ -n "$made" ] && return 0
    sleep 0.2
  done
  return 1
}

# The per-user settings as the registry holds them, one value a line, in
# the file named.
e2e_settings() {
  : >"$1"
  e2e_bounded wine reg export 'HKCU\Software\O.RVELL\APP\zek5railwick' "$(winpath "$out/settings.reg")" /y \
    >/dev/null 2>&1 || return 0
  iconv -f UTF-16LE -t UTF-8 "$out/settings.reg" 2>/dev/null | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' >"$1"
}

# The workshop name stored as if entered at an earlier start.
e2e_set_maker() {
  e2e_bounded wine reg add 'HKCU\Software\O.RVELL\APP\zek5railwick' /v MAKER /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

# The first start's environment dialog: NAME entered and taken.
enter_workshop_name() {
  driver set-text 環境設定 1147 "$1" && driver press 環境設定 1 && driver wait-gone 環境設定
}

# Opens a project from the menu (ファイル → 開く) as a user does it: into
# the project's folder first, then the file.
open_project() {
  local path
  path=$(winpath "$1")
  driver command 32772 && driver set-text ファイル選択 1148 "${path%\\*}" && driver press ファイル選択 1 &&
    sleep 0.5 && driver choose-file ファイル選択 "${path##*\\}"
}

# Make data from the menu, expected to succeed: the data file appears in
# FOLDER (its path in $made) and no report or message is shown.
make_data_quietly() {
  local folder=$1
  driver command 32778 && wait_file '*.z5t' 60 "$folder" && sleep 1 &&
    driver wait-gone データ作成レポート && driver wait-gone 検証
}

# e2e_start FILE...: each file must be in $build; then a fresh Wine
# environment with its own display and an empty $out. A run that cannot
# start counts as one failure.

e2e_start() {
  local f
  for f in "$@"; do
    if [ ! -e "$build/$f" ]; then
      echo "$(basename "$0" .sh): $build/$f is missing (build the Windows targets first)" >&2
      echo "$e2e_name: 0 passed, 1 failed"
      exit 1
    fi
  done
  trap e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if ! wine_env_up --display; then
    echo "$e2e_name: 0 passed, 1 failed"
    exit 1
  fi
  rm -rf "$out"
  mkdir -p "$out"
}

# The summary line; the status is that of the run.
e2e_finish() {
  echo "$e2e_name: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
