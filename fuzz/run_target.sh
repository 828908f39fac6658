#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time and reports in a few lines:
#   fuzz/run_target.sh TARGET SECONDS WORK_CORPUS SEED_CORPUS
# Fails on any crash, sanitizer report, leak, input slower than 10 s or a
# process above 2 GiB; then prints the end of the log and keeps the input in
# the build's fuzz/artifacts/. Its dictionary is fuzz/dict/<target>.dict.
set -uo pipefail
target=$1
seconds=$2
work=$3
seeds=$4
name=$(basename "$target")
here=$(cd "$(dirname "$0")" && pwd)
artifacts="$(dirname "$target")/artifacts"
log="$(dirname "$target")/$name.log"
# Every run starts from the seeds alone, so its time stays bounded.
rm -rf "$work"
mkdir -p "$work" "$artifacts"

args=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
      -artifact_prefix="$artifacts/$name-")
[ -f "$here/dict/$name.dict" ] && args+=(-dict="$here/dict/$name.dict")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Folders are given as absolute paths: targets change the working folder.
"$target" "${args[@]}" "$(cd "$work" && pwd)" "$(cd "$seeds" && pwd)" >"$log" 2>&1
status=$?
stat() { grep -o "stat::$1: *[0-9]*" "$log" | grep -o '[0-9]*$' || echo '?'; }
coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo '?')
# One line for the caller's summary, also kept beside the log.
if [ "$status" -eq 0 ]; then
  echo "$name: ok, $(stat number_of_executed_units) runs in ${seconds} s, coverage $coverage," \
    "$(stat new_units_added) new inputs, peak $(stat peak_rss_mb) MB" | tee "${log%.log}.result"
  exit 0
fi
{
  echo "$name: FAILED (exit $status); the end of $log:"
  tail -n 60 "$log"
} | tee "${log%.log}.result"
exit 1
