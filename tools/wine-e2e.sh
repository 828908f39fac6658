#!/usr/bin/env bash
# End-to-end checks of the Windows program under Wine:
#   tools/wine-e2e.sh BUILD_DIR
# BUILD_DIR is a Windows build folder holding Railwick.exe, data/, the shell's
# Windows tests and the test driver. Starts its own Xvfb and a fresh Wine
# prefix (tools/wine-env.sh), runs the shell's Windows tests there, then
# drives the real program: window and frames, a second start, a missing and a
# broken resource pack (each named in a notice), an unreadable stored
# workshop name, the screenshot key, the registry values, and closing.
# A capture of the running preview is saved as BUILD_DIR/e2e/preview.png.
# Ends with "e2e: N passed, M failed"; exit status 1 when anything failed.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/wine-e2e.sh BUILD_DIR}" && pwd)
out="$build/e2e"
e2e_name=e2e
source "$root/tools/wine-e2e-common.sh"
now_ms() { date +%s%3N; }

# Runs a command with a time limit; a program left waiting on a message box
# runs into it. Prints the exit code.
run_limited() {
  local seconds=$1
  shift
  timeout --kill-after=5 "$seconds" "$@" >/dev/null 2>&1
  echo $?
}

e2e_start Railwick.exe railwick-cli.exe railwick_win_tests.exe railwick_e2e_driver.exe data/zek5rlwck.res
source "$root/tools/wine-e2e-preview.sh"
source "$root/tools/wine-e2e-live.sh"

# The shell's Windows tests: registry, DirectX probe, the program's menu
# and dialog templates.
check "Windows tests of the shell" \
  e2e_bounded wine "$build/railwick_win_tests.exe" --gtest_output="xml:Z:$out/railwick_win_tests.xml"

# A program folder without its pack, and one whose pack has a wrong magic:
# a notice names the file looked for, and the program ends with a failure.
bare="$WINE_ENV_ROOT/bare"
mkdir -p "$bare"
cp "$build/Railwick.exe" "$bare/"
pack="Z:${bare//\//\\}\\data\\zek5rlwck.res"
# A start-up notice "Railwick" says TEXT; OK closes it. A program starting
# under load may take a while to get there.
notice_says() { driver wait-dialog Railwick 30000 && driver expect-message Railwick "$1"; }
bare_start() {  # bare_start FIRST-LINE WHAT
  local pid
  wine start /wait /unix "$bare/Railwick.exe" >>"$out/bare.log" 2>&1 &
  pid=$!
  check "$2: the notice names the file" notice_says "$1{LF}$pack"
  wait_program "$pid" 30
  check "$2: the program ends with a non-zero code (got $exit_code)" \
    test "$exit_code" != 0 -a "$exit_code" != 124
}
bare_start "リソースファイルが見つかりません。" "missing resource pack"
mkdir -p "$bare/data"
cp "$build/data/zek5rlwck.res" "$bare/data/"
printf '\x01\x20' | dd of="$bare/data/zek5rlwck.res" bs=1 seek=0 count=2 conv=notrunc 2>/dev/null
bare_start "リソースファイルが壊れています。" "resource pack with a wrong magic"
check "no window was left behind" driver count-windows 0

# A stored workshop name the program cannot read (of the wrong type, too
# long) is neither asked for again nor overwritten: a notice says why and
# the program ends.
for value in "REG_DWORD 7" "REG_SZ $(printf 'x%.0s' $(seq 1 64))"; do
  e2e_bounded wine reg add 'HKCU\Software\O.RVELL\APP\zek5railwick' /v MAKER /t "${value% *}" /d "${value#* }" /f \
    >/dev/null 2>&1
  e2e_settings "$out/unreadable-before.txt"
  wine start /wait /unix "$build/Railwick.exe" >>"$out/unreadable.log" 2>&1 &
  pid=$!
  check "an unreadable MAKER (${value% *}) is named in a notice" \
    notice_says 'レジストリに保存されている工房名を読み込めませんでした。…'
  wait_program "$pid" 30
  check "…the program ends without asking for a name (code $exit_code)" test "$exit_code" != 124
  e2e_settings "$out/unreadable-after.txt"
  check "…and leaves the value as it was" \
    diff <(grep '^"MAKER"' "$out/unreadable-before.txt") <(grep '^"MAKER"' "$out/unreadable-after.txt")
done
e2e_bounded wine reg delete 'HKCU\Software\O.RVELL\APP\zek5railwick' /v MAKER /f >/dev/null 2>&1

# The first start asks for the workshop name (and stores it).
preview_first_start

# The real start.
started=$(now_ms)
wine start /wait /unix "$build/Railwick.exe" >"$out/program.log" 2>&1 &
program_pid=$!
if driver wait-frame 30000; then
  first_frame=$(($(now_ms) - started))
  pass "window ZEK5RLWCK \"無題 - ZEK RAILWICK\" at its default size shows a frame ($first_frame ms after the start)"
  echo "$first_frame" >"$out/first-frame-ms.txt"
else
  fail "window ZEK5RLWCK \"無題 - ZEK RAILWICK\" at its default size shows a frame"
fi
check "it keeps drawing frames" driver frames

# A second start brings the first window to the front and ends.
check "minimise the first window" driver minimise
code=$(run_limited 30 wine start /wait /unix "$build/Railwick.exe")
check "second start exits with code 0 (got $code)" test "$code" = 0
check "the first window is restored and in front" driver check-restored
check "one window of the class" driver count-windows 1
check "the first instance keeps running" kill -0 "$program_pid"
check "it still draws after being restored" driver frames

# The screenshot key writes scr00000.bmp from the frame; the driver saves a
# PNG copy for a person to look at.
check "F4 writes scr00000.bmp with the frame's pixels" driver screenshot-key 0 "Z:$out/preview.png"
[ -s "$out/preview.png" ] && echo "     preview capture: $out/preview.png"

# A new size: the device follows (the next screenshot has the new client
# size) and drawing goes on.
check "resize the window to 900 x 700" driver resize 900 700
check "it draws at the new size" driver frames
check "F4 again writes scr00001.bmp at the new client size" driver screenshot-key 1 "Z:$out/preview-resized.png"
check "F4 names the saved file in a note over the preview for a few seconds" driver screenshot-note

# A workshop name with Japanese text, written as the program writes it.
check "workshop name written" driver write-maker "ＺＥＫ工房"

# Exit through the menu command: the window closes in order, exit code 0.
check "menu command Exit posted" driver command 105
wait_program "$program_pid" 30
code=$exit_code
program_pid=""
check "the program exits with code 0 after Exit (got $code)" test "$code" = 0
check "no window is left" driver count-windows 0

# Registry values, read back as the registry holds them (UTF-16 export).
e2e_settings "$out/settings.txt"
check "registry: MAKER is the workshop name" grep -qx '"MAKER"="ＺＥＫ工房"' "$out/settings.txt"
check "registry: PrimaryWindow is a window handle" grep -qE '^"PrimaryWindow"=dword:[0-9a-f]{8}$' "$out/settings.txt"
check "registry: ScreenDX is the last outer width 900" grep -qx '"ScreenDX"=dword:00000384' "$out/settings.txt"
check "registry: ScreenDY is the last outer height 700" grep -qx '"ScreenDY"=dword:000002bc' "$out/settings.txt"

# Make data from the program, the report, and the vehicle preview.
preview_make_data
# The preview following saves of the project's files.
preview_live

e2e_finish
