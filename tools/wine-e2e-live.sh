# End-to-end steps of the live preview, sourced by tools/wine-e2e.sh after
# tools/wine-e2e-preview.sh (whose differs, same and show_report it uses).
#
#   preview_live   a saved model replaces the vehicle shown, in place and by
#                  rename; a broken save keeps it and says so; nothing is
#                  written; 自動更新 off stops it and stays off at the next start

# The build follows a settled save within half a second; one capture under
# Wine on a loaded machine can take seconds.
live_bound_ms=20000

# live_wait differs|same REFERENCE PIXELS NAME: captures until the centre
# differs from (or matches) REFERENCE, at most $live_bound_ms; the last
# capture is $out/NAME.png.
live_wait() {
  local how=$1 reference=$2 pixels=$3 name=$4 start
  start=$(date +%s%3N)
  while :; do
    driver capture "Z:$out/$name.png" || return 1
    if "$how" "$reference" "$out/$name.png" "$pixels" >/dev/null; then
      echo "     $name: $(($(date +%s%3N) - start)) ms after the save"
      return 0
    fi
    if [ $(($(date +%s%3N) - start)) -ge "$live_bound_ms" ]; then
      "$how" "$reference" "$out/$name.png" "$pixels"
      return 1
    fi
  done
}

# The files of the project's folder with their sizes, but the body model
# the steps write.
live_listing() {
  (cd "$1" && find . -type f ! -name 'body_glossy.*' -printf '%p %s\n' | sort)
}

preview_live() {
  local live="$WINE_ENV_ROOT/live" body project
  mkdir -p "$live"
  cp -r "$root/examples/models" "$root/examples/assets" "$live/"
  cp "$root/tests/win/e2e/preview_vehicle.xml" "$live/"
  body="$live/models/body_glossy.obj"
  project="Z:${live//\//\\}\\preview_vehicle.xml"
  cp "$body" "$out/body-original.obj"
  # The body three times as tall: a change no one can miss.
  awk '$1 == "v" { $3 = $3 * 3 } { print }' "$out/body-original.obj" >"$out/body-tall.obj"
  live_listing "$live" >"$out/live-files-before.txt"

  wine start /wait /unix "$build/Railwick.exe" >"$out/live.log" 2>&1 &
  program_pid=$!
  check "live: the program starts" driver wait-frame 30000
  check "live: drop the vehicle project on the window" driver drop "$project"
  check "live: F5 builds the project at once" driver key 116
  check "live: Ctrl-drag turns the vehicle" driver drag 300 0 ctrl
  check "live: capture of the turned vehicle" driver capture "Z:$out/live-before.png"

  # Saved in place (the file written over), then by rename (a new file
  # moved over the old, as many modelers save).
  cat "$out/body-tall.obj" >"$body"
  check "live: a model saved in place changes the preview" live_wait differs "$out/live-before.png" 2000 live-tall
  cp "$out/body-original.obj" "$live/models/body_glossy.tmp"
  mv "$live/models/body_glossy.tmp" "$body"
  check "live: a model saved by rename changes it back, still turned as the user left it" \
    live_wait same "$out/live-before.png" 1500 live-back
  # The time from a save to the build, asked of the program (no capture).
  for run in 1 2 3; do
    check "live: a save is built (time $run printed)" driver live-latency "Z:${body//\//\\}"
  done

  # A broken save: the vehicle stays, the line under the status line and
  # the report say why.
  printf 'v 0 0 0\nv 1 0 0\nvt 0 0\nvn 0 1 0\nf 1/1/1 2/1/1 9/1/1\n' >"$live/models/body_glossy.tmp"
  mv "$live/models/body_glossy.tmp" "$body"
  check "live: a broken save is reported under the status line" driver failure-line on "$live_bound_ms"
  check "live: the last good vehicle stays" driver capture "Z:$out/live-broken.png"
  check "live: the picture is the last good one" same "$out/live-before.png" "$out/live-broken.png" 1500
  check "live: menu レポート shows the report" show_report 32902 "$out/live-report.txt"
  check "live: the report holds the model's error lines" grep -q 'ERROR' "$out/live-report.txt"
  cp "$out/body-original.obj" "$body"
  check "live: a good save takes the line away" driver failure-line off "$live_bound_ms"

  # 自動更新 off: saves change nothing until F5; the choice is kept.
  check "live: menu 自動更新 turns it off" driver command 32900
  cat "$out/body-tall.obj" >"$body"
  sleep 2
  check "live: capture two seconds after a save with 自動更新 off" driver capture "Z:$out/live-off.png"
  check "live: the save changed nothing" same "$out/live-before.png" "$out/live-off.png" 1500
  check "live: F5 still builds" driver key 116
  check "live: capture after F5" driver capture "Z:$out/live-f5.png"
  check "live: F5 showed the save" differs "$out/live-before.png" "$out/live-f5.png" 2000

  live_listing "$live" >"$out/live-files-after.txt"
  check "live: no data file, mesh file or script was written" \
    cmp -s "$out/live-files-before.txt" "$out/live-files-after.txt"
  check "live: menu command Exit posted" driver command 105
  wait_program "$program_pid" 30
  program_pid=""
  e2e_settings "$out/preview-settings.txt"
  check "live: registry: LiveUpdate is 0" grep -qx '"LiveUpdate"=dword:00000000' "$out/preview-settings.txt"

  # The next start keeps it off.
  cp "$out/body-original.obj" "$body"
  wine start /wait /unix "$build/Railwick.exe" >"$out/live-again.log" 2>&1 &
  program_pid=$!
  check "live: the program starts again" driver wait-frame 30000
  check "live: drop the project again" driver drop "$project"
  check "live: F5 builds it" driver key 116
  check "live: capture of the vehicle" driver capture "Z:$out/live-again.png"
  cat "$out/body-tall.obj" >"$body"
  sleep 2
  check "live: capture two seconds after a save" driver capture "Z:$out/live-again-saved.png"
  check "live: 自動更新 stayed off: the save changed nothing" \
    same "$out/live-again.png" "$out/live-again-saved.png" 1500
  check "live: menu 自動更新 turns it on again" driver command 32900
  check "live: and catches up with the save" live_wait differs "$out/live-again.png" 2000 live-again-on
  driver command 105 >/dev/null
  wait_program "$program_pid" 30
  program_pid=""
}
