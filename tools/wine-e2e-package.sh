#!/usr/bin/env bash
# End-to-end check of the Windows download under Wine:
#   tools/wine-e2e-package.sh BUILD_DIR
# BUILD_DIR is a built Windows build folder (Railwick.exe, railwick-cli.exe,
# data/, railwick_e2e_driver.exe). The package is made from it with
# tools/package-windows.sh, its contents are checked, and it is unpacked into
# a fresh folder of a fresh Wine prefix and started from there as a new user
# would: the first start asks for the workshop name, the sample project is
# opened, Make data writes its data file beside it, and the package's
# railwick-cli.exe accepts that file. The first failed step ends the run,
# with a picture of the screen and the last lines of the logs. Ends with
# "e2e-package: N passed, M failed".
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/wine-e2e-package.sh BUILD_DIR}" && pwd)
out="$build/e2e-package"
e2e_name=e2e-package
source "$root/tools/wine-e2e-common.sh"
e2e_start Railwick.exe railwick-cli.exe railwick_e2e_driver.exe data/zek5rlwck.res

# The download's name carries the version and the system.
named_for_download() { [[ $(basename "$1") =~ ^railwick-[0-9]+\.[0-9]+\.[0-9]+-win64\.zip$ ]]; }
# The names in a zip, one a line.
zip_names() { python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$1"; }
# A plain text that Notepad reads best (UTF-8 with a byte-order mark, CR LF),
# in Japanese and English.
readme_for_notepad() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
    [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ] && grep -q 起動 "$1" && grep -q Starting "$1"
}

zip=$(e2e_bounded "$root/tools/package-windows.sh" "$build" "$out" 2>"$out/package.log")
must "the package is made" test -s "$zip"
must "it is named railwick-VERSION-win64.zip" named_for_download "$zip"
zip_names "$zip" >"$out/contents.txt"
must "no two of its names differ only in letter case" \
  test -z "$(tr '[:upper:]' '[:lower:]' <"$out/contents.txt" | sort | uniq -d)"

# Unpacked where no build ever was, as a user unpacks a download.
unpacked="$WINE_ENV_ROOT/Downloads"
mkdir -p "$unpacked"
must "it unpacks" python3 -m zipfile -e "$zip" "$unpacked"
app="$unpacked/$(basename "$zip" .zip)"
must "one folder holds the program and the command-line tool" test -f "$app/Railwick.exe" -a -f "$app/railwick-cli.exe"
must "the resource pack lies in data/ beside the program" cmp -s "$app/data/zek5rlwck.res" "$build/data/zek5rlwck.res"
must "the sample project is there" test -f "$app/examples/sample.xml" -a -f "$app/examples/models/wheel.obj"
must "nothing the compiler writes came along" test -z "$(grep -E '\.(3dd|z5t|z5c)$' "$out/contents.txt")"
must "the read-me is a Notepad text in Japanese and English" readme_for_notepad "$app/README.txt"

# Started from its own folder, as a double click starts it.
(cd "$app" && exec wine start /wait /unix "$app/Railwick.exe") >>"$out/program.log" 2>&1 &
program_pid=$!
must "first start: the workshop name is asked for" driver wait-dialog 環境設定 30000
must "…and taken" enter_workshop_name "配布版工房"
must "the main window draws" driver wait-frame 30000
must "ファイル → 開く: the sample project" open_project "$app/examples/sample.xml"
must "データ作成: the data file is written beside the sample, with no report and no message" \
  make_data_quietly "$app/examples"
must "…named by the type number" test -s "$app/examples/RW-101.z5t"
must "the package's railwick-cli.exe accepts it" \
  e2e_bounded wine "$app/railwick-cli.exe" verify "$(winpath "$app/examples/RW-101.z5t")" >"$out/verify.txt"
driver command 105
wait_program "$program_pid" 30
program_pid=""
must "the program ends with code 0 (got $exit_code)" test "$exit_code" = 0

e2e_finish
