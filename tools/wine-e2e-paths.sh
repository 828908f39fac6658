#!/usr/bin/env bash
# End-to-end check under Wine that the program never depends on the folder
# it was started from, nor on where a file dialog went:
#   tools/wine-e2e-paths.sh BUILD_DIR
# BUILD_DIR is a Windows build folder holding Railwick.exe, railwick-cli.exe,
# data/ and railwick_e2e_driver.exe. The program starts from an empty
# folder; a copy of the sample project (relative paths) is dropped on it,
# edited and saved; the open dialog visits another project's folder and is
# cancelled; Make data must then write the data file into the project's own
# output folder, equal record for record to `railwick make` of the saved
# project, and leave the start folder and the other project untouched. The
# first failed step ends the run, with a picture of the screen and the last
# lines of the logs. Ends with "e2e-paths: N passed, M failed".
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/wine-e2e-paths.sh BUILD_DIR}" && pwd)
out="$build/e2e-paths"
e2e_name=e2e-paths
source "$root/tools/wine-e2e-common.sh"
e2e_start Railwick.exe railwick-cli.exe railwick_e2e_driver.exe data/zek5rlwck.res

d() { driver "$@"; }
cli() { e2e_bounded wine "$build/railwick-cli.exe" "$@"; }

# Every file under a folder with its digest, one a line, sorted.
listing() { (cd "$1" && find . -type f -exec md5sum {} + | sort -k 2); }

start="$WINE_ENV_ROOT/start"   # where the program is started; stays empty
project="$WINE_ENV_ROOT/project"
other="$WINE_ENV_ROOT/other"   # another project, whose data file must survive
mkdir -p "$start" "$project" "$other"
for dir in "$project" "$other"; do
  cp -r "$root/examples/sample.xml" "$root/examples/assets" "$root/examples/models" "$dir/"
done
printf 'the other vehicle\r\n' >"$other/RW-101.z5t"
listing "$other" >"$out/other-before.txt"
P=$(winpath "$project")
maker="テスト工房"
e2e_set_maker "$maker"

(cd "$start" && exec wine start /wait /unix "$build/Railwick.exe") >>"$out/program.log" 2>&1 &
program_pid=$!
must "the program starts from an empty folder" d expect-running 1

# Dropping never moves the current folder: the project's own folder must
# be where its images and sounds are found.
d drop "$P\\sample.xml"
d command 32781
must "dropped: the main texture is kept" d expect-text 基本設定 1006 'models\main.png'
must "dropped: the type image is kept" d expect-text 基本設定 1009 'assets\sideview.png'
d set-text 基本設定 1004 111
# Absolute names inside the project's folder are saved relative to it.
d set-text 基本設定 1006 "$P\\models\\main.png"
d set-text 基本設定 1153 "$P"
d press 基本設定 1
must "an edit with relative image paths is taken by OK" d wait-gone 基本設定
d command 32788
must "dropped: the horn with a Japanese name is kept" d expect-text サウンド 1144 'assets\警笛.wav'
d press サウンド 1
must "the sounds are taken by OK" d wait-gone サウンド

d command 32820
must "save: the dropped file is proposed" d expect-text 保存 1148 sample.xml
must "save: under a new name" d choose-file 保存 "$P\\saved.xml"
# Lines compared without their indent, which the sample writes its own way.
must "save: every field as read, the speed as edited, paths inside the folder relative" \
  diff <(sed 's/^[[:space:]]*//; s|<speed>110<|<speed>111<|' "$project/sample.xml") \
  <(tr -d '\r' <"$project/saved.xml" | sed 's/^[[:space:]]*//')

# The open dialog goes to the other project's folder and is cancelled.
d command 32772
must "open: the file dialog comes up" d wait-dialog ファイル選択
d set-text ファイル選択 1148 "$(winpath "$other")"
d press ファイル選択 1
sleep 1
d press ファイル選択 2
must "open: cancelled" d wait-gone ファイル選択

d command 32778
must "make data: the data file is written into the project's folder" wait_file '*.z5t' 60 "$project"
program_made=$made
sleep 1
must "make data: no report of a failed compilation" d wait-gone report
must "make data: no message" d wait-gone 検証
must "make data: railwick verify accepts the file" cli verify "$(winpath "$program_made")" >"$out/verify.txt"
cli make "$P\\saved.xml" -o "$P\\cli" --workshop "$maker" >"$out/cli-make.txt" 2>&1
must "railwick make of the saved project writes a file" wait_file '*.z5t' 1 "$project/cli"
must "its records equal the program's" \
  cli diff "$(winpath "$program_made")" "$(winpath "$made")" >"$out/diff.txt"
must "nothing was written where the program was started" test -z "$(ls -A "$start")"
must "the other project is untouched" diff "$out/other-before.txt" <(listing "$other")

d command 105
wait_program "$program_pid" 20
program_pid=""
must "the program ends with code 0 (got $exit_code)" test "$exit_code" = 0

e2e_finish
