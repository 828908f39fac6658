# What the Wine end-to-end scripts share, sourced after each has set $root,
# $build, $out and $e2e_name (the word of its summary line): the tally and
# its checks, and the start and end of a run.
source "$root/tools/wine-env.sh"

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

# A step that ran out of time ends the run at once (the steps after it would
# only wait in vain), with a picture of the screen and the last lines of the
# logs named.
e2e_timed_out() {  # e2e_timed_out STEP LOG...
  local step=$1 log
  shift
  fail "$step: timed out"
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null &&
    timeout 30 import -window root "$out/timed-out.png" 2>/dev/null; then
    echo "     screen: $out/timed-out.png"
  fi
  # Where each of the program's threads stood (winedbg walks every process).
  if command -v winedbg >/dev/null; then
    timeout 60 winedbg --command "bt all" >"$out/threads.txt" 2>&1
    echo "     the program's threads (all processes: $out/threads.txt):"
    awk '/^Backtracing for thread/ { show = /Railwick\.exe/ } show' "$out/threads.txt" | head -n 80 | sed 's/^/     /'
  fi
  for log in "$@"; do
    [ -s "$log" ] || continue
    echo "     last lines of $log:"
    tail -n 20 "$log" | sed 's/^/     /'
  done
  e2e_finish
  exit 1
}

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

# e2e_start FILE...: each file must be in $build; then a fresh Wine
# environment with its own display and an empty $out. A run that cannot
# start counts as one failure.
# A Linux path as the program sees it on Wine's Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

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
