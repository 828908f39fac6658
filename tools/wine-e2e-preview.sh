# End-to-end steps of the workshop name, Make data and the vehicle preview,
# sourced by tools/wine-e2e.sh after tools/wine-e2e-common.sh.
#
#   preview_first_start   before the program has ever run in the prefix
#   preview_make_data     once the other steps are done

# A name refused in the first start's environment dialog: the check message
# says why, and the dialog stays open with the name as typed.
refused_name() {  # refused_name NAME MESSAGE
  driver set-text 環境設定 1147 "$1" && driver press 環境設定 1 && driver expect-message 検証 "$2" &&
    driver expect-text 環境設定 1147 "$1"
}

# Menu command ID shows the report: its text goes to FILE, OK closes it.
show_report() {  # show_report ID FILE
  driver command "$1" && driver save-text データ作成レポート 1000 "$(winpath "$2")" &&
    driver press データ作成レポート 1 && driver wait-gone データ作成レポート
}

preview_first_start() {
  local pid
  # Cancelling the question ends the program with a notice saying why.
  wine start /wait /unix "$build/Railwick.exe" >"$out/first-start-cancel.log" 2>&1 &
  pid=$!
  check "first start: the environment dialog asks for the workshop name; cancel gives the notice" \
    eval 'driver wait-dialog 環境設定 30000 && driver press 環境設定 2 && driver expect-message Railwick 工房名が設定されなかったため、終了します。…'
  wait_program "$pid" 30
  check "the program ends after the cancelled first start (code $exit_code)" test "$exit_code" = 0
  e2e_settings "$out/preview-settings.txt"
  check "no workshop name stored after cancelling" bash -c "! grep -q '^\"MAKER\"' '$out/preview-settings.txt'"

  # Refused names keep the dialog open with their messages; a good name is
  # stored and the main window comes up.
  wine start /wait /unix "$build/Railwick.exe" >"$out/first-start.log" 2>&1 &
  program_pid=$!
  check "the environment dialog asks again" driver wait-dialog 環境設定 30000
  local blank='工房名が空欄または空白です。{LF}文字を入力してください。'
  local reserved='工房名に使用できない名前が使われています。{LF}別の名前を設定してください。'
  check "a blank workshop name is refused" refused_name "" "$blank"
  check "a name starting with a space is refused" refused_name " 工房" "$blank"
  check "a reserved name in capitals is refused" refused_name "ZEK5" "$reserved"
  check "a reserved name in mixed case is refused" refused_name "O.Rvell" "$reserved"
  check "a name the script cannot carry is refused" refused_name "Café" '工房名に使用できない文字が含まれています。…'
  check "a good name is accepted" enter_workshop_name "試験工房"
  check "the main window comes up after the name" driver wait-frame 30000
  e2e_settings "$out/preview-settings.txt"
  check "registry: MAKER holds the name just entered" grep -qx '"MAKER"="試験工房"' "$out/preview-settings.txt"
  check "menu 環境設定 shows the name read-only" eval 'driver command 32779 && driver expect-enabled 環境設定 1147 0 &&
    driver expect-text 環境設定 1147 試験工房'
  check "…and OK closes it without a check message" \
    eval 'driver press 環境設定 1 && driver wait-gone 環境設定 && driver wait-gone 検証'
  check "dragging before any Make data is ignored" driver drag 120 0 ctrl
  check "keys before any Make data are ignored" driver key H
  check "menu command Exit posted" driver command 105
  wait_program "$program_pid" 30
  program_pid=""
  check "the program exits with code 0 (got $exit_code)" test "$exit_code" = 0

  # The next start takes the stored name without asking.
  wine start /wait /unix "$build/Railwick.exe" >"$out/second-start.log" 2>&1 &
  program_pid=$!
  check "the next start shows no dialog and draws" driver wait-frame 30000
  driver command 105 >/dev/null
  wait_program "$program_pid" 30
  program_pid=""
}

# Differing pixels of two pictures in their centre (the status line in the
# corner changes every frame and is left out).
centre_difference() {
  local a=$1 b=$2
  convert "$a" -gravity center -crop 60%x60%+0+0 +repage "$out/centre-a.png" &&
    convert "$b" -gravity center -crop 60%x60%+0+0 +repage "$out/centre-b.png" &&
    compare -metric AE -fuzz 8% "$out/centre-a.png" "$out/centre-b.png" null: 2>&1 | sed 's/[^0-9].*//'
}

differs() {  # differs A B MIN: at least MIN pixels of the centre differ
  local n
  n=$(centre_difference "$1" "$2")
  echo "     $(basename "$1") / $(basename "$2"): ${n:-?} pixels differ"
  [ -n "$n" ] && [ "$n" -ge "$3" ]
}

same() {  # same A B MAX: at most MAX pixels of the centre differ
  local n
  n=$(centre_difference "$1" "$2")
  echo "     $(basename "$1") / $(basename "$2"): ${n:-?} pixels differ"
  [ -n "$n" ] && [ "$n" -le "$3" ]
}

preview_make_data() {
  local good="$WINE_ENV_ROOT/vehicle" broken="$WINE_ENV_ROOT/broken" maker
  e2e_settings "$out/preview-settings.txt"
  maker=$(sed -n 's/^"MAKER"="\(.*\)"$/\1/p' "$out/preview-settings.txt")
  for dir in "$good" "$broken"; do
    mkdir -p "$dir"
    cp -r "$root/examples/models" "$root/examples/assets" "$dir/"
  done
  cp "$root/tests/win/e2e/preview_vehicle.xml" "$good/"
  # The same vehicle with a body model whose face names vertices it lacks.
  printf 'v 0 0 0\nv 1 0 0\nvt 0 0\nvn 0 1 0\nf 1/1/1 2/1/1 9/1/1\n' >"$broken/models/broken.obj"
  sed 's|models\\body_glossy.obj|models\\broken.obj|' "$root/tests/win/e2e/preview_vehicle.xml" \
    >"$broken/preview_vehicle.xml"

  wine start /wait /unix "$build/Railwick.exe" >"$out/preview.log" 2>&1 &
  program_pid=$!
  check "the program starts with the stored name" driver wait-frame 30000
  check "capture of the empty preview" driver capture "Z:$out/preview-empty.png"

  check "open the vehicle project" open_project "$good/preview_vehicle.xml"
  check "Make data writes the data file beside the project, with no report and no message" \
    make_data_quietly "$good"
  check "…named by the type number" test -s "$good/RW-101.z5t"
  check "no script file is left behind" test ! -e "$good/RW-101.txt"
  check "railwick verify accepts the data file" \
    e2e_bounded bash -c "wine '$build/railwick-cli.exe' verify 'Z:$good/RW-101.z5t' >'$out/verify.txt' 2>&1"
  e2e_bounded wine "$build/railwick-cli.exe" dump "Z:$good/RW-101.z5t" >"$out/dump.txt" 2>&1
  check "its COPYRIGHT record carries the workshop name ($maker)" \
    grep -qF "COPYRIGHT  text1=\"$maker\"" "$out/dump.txt"

  check "capture of the vehicle" driver capture "Z:$out/preview-vehicle.png"
  check "the vehicle shows in the centre of the preview" \
    differs "$out/preview-empty.png" "$out/preview-vehicle.png" 2000
  check "key P: pantograph lowered" driver key P
  check "capture with the pantograph lowered" driver capture "Z:$out/preview-pantograph.png"
  check "the pantograph changes the picture" \
    differs "$out/preview-vehicle.png" "$out/preview-pantograph.png" 50
  check "key 1: the first option" driver key 1
  check "capture with option 1" driver capture "Z:$out/preview-option.png"
  check "the option changes the picture" differs "$out/preview-pantograph.png" "$out/preview-option.png" 50
  check "key Y: a quarter turn" driver key Y
  check "capture of the front end" driver capture "Z:$out/preview-end.png"
  check "the quarter turn shows the end" differs "$out/preview-option.png" "$out/preview-end.png" 2000
  check "key H: head lights" driver key H
  check "capture with the head lights on" driver capture "Z:$out/preview-lights.png"
  check "the lights change the picture" differs "$out/preview-end.png" "$out/preview-lights.png" 20
  check "key 0: side on again" driver key 0
  check "capture of the side" driver capture "Z:$out/preview-side.png"
  check "Ctrl-drag to the right" driver drag 300 0 ctrl
  check "capture of the turned vehicle" driver capture "Z:$out/preview-turned.png"
  check "the drag turns the vehicle" differs "$out/preview-side.png" "$out/preview-turned.png" 2000
  check "key 0 puts it back" driver key 0
  check "capture after key 0" driver capture "Z:$out/preview-back.png"
  check "the vehicle is back where it was (only the wheels turn)" \
    same "$out/preview-side.png" "$out/preview-back.png" 1500
  [ -s "$out/preview-vehicle.png" ] && echo "     preview of the vehicle: $out/preview-vehicle.png"

  # A broken model: the report shows the compiler's lines and the data file
  # made before stays as it was.
  cp "$good/RW-101.z5t" "$broken/RW-101.z5t"
  check "open the broken project" open_project "$broken/preview_vehicle.xml"
  check "Make data shows the report" show_report 32778 "$out/report.txt"
  check "the report starts with the compiler's version line" \
    bash -c "head -c 200 '$out/report.txt' | grep -q '^=== 車輌コンパイル version 5.10 ==='"
  check "the report holds the model's error lines" grep -q 'ERROR' "$out/report.txt"
  check "the earlier data file is unchanged" cmp -s "$good/RW-101.z5t" "$broken/RW-101.z5t"
  check "no script file is left after the failure" test ! -e "$broken/RW-101.txt"

  check "F4 never overwrites an earlier screenshot" driver screenshot-skip
  check "a screenshot that cannot be saved is reported" driver screenshot-failure
  check "Esc that closed a dialog does not close the program; a fresh Esc does" driver esc-after-dialog
  wait_program "$program_pid" 30
  program_pid=""
  check "the program exits with code 0 after Esc (got $exit_code)" test "$exit_code" = 0
}
