#!/usr/bin/env bash
# End-to-end checks of the menu and the data dialogs under Wine, done the way
# a new user would work:
#   tools/wine-e2e-menu.sh BUILD_DIR
# BUILD_DIR is a Windows build folder holding Railwick.exe, railwick-cli.exe,
# data/ and railwick_e2e_driver.exe. In a fresh Wine prefix with its own
# Xvfb, the program makes a vehicle from the sample models, textures and
# sounds through its dialogs, saves it, makes its data file (which must pass
# `railwick verify` and equal, record for record, what `railwick make` makes
# of the saved project), opens it again from the menu and by dropping it,
# meets each dialog's checks, the questions about unsaved edits, and the
# container places. A picture of every dialog is saved as PNG in
# BUILD_DIR/e2e-menu. Ends with "e2e-menu: N passed, M failed"; exit status 1
# when anything failed.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/wine-e2e-menu.sh BUILD_DIR}" && pwd)
out="$build/e2e-menu"
e2e_name=e2e-menu
source "$root/tools/wine-e2e-common.sh"
e2e_start Railwick.exe railwick-cli.exe railwick_e2e_driver.exe data/zek5rlwck.res

d() { driver "$@"; }
cli() { e2e_bounded wine "$build/railwick-cli.exe" "$@"; }
shot() { d capture "$1" "$(winpath "$out/$2.png")"; }

# The user's folder: the sample models with their textures, the sample
# sounds and images, and an output folder.
work="$WINE_ENV_ROOT/work"
mkdir -p "$work/out"
cp -r "$root/examples/assets" "$root/examples/models" "$work/"
printf 'these are notes, not a vehicle\r\n' >"$work/notes.xml"
W=$(winpath "$work")
M="$W\\models"
A="$W\\assets"
maker="テスト工房"
e2e_set_maker "$maker"

start_program() {
  (cd "$work" && exec wine start /wait /unix "$build/Railwick.exe") >>"$out/program.log" 2>&1 &
  program_pid=$!
  d expect-running 1 && sleep 2
}
wait_exit() {
  wait_program "$program_pid" 20
  program_pid=""
  [ "$exit_code" = 0 ]
}
# Opens a data dialog from the menu.
open_dialog() { d command "$1" && d wait-dialog "$2"; }
ok_dialog() { d press "$1" 1 && d wait-gone "$1"; }
cancel_dialog() { d press "$1" 2 && d wait-gone "$1"; }

check "the program starts" start_program

# --- A new project: Save needs a type number first. ---
d command 32780
check "message boxes open centred on the main window" d expect-centred 検証
check "Save of a new project without a type number is refused" \
  d expect-message 検証 '形式番号が空欄です。{LF}形式番号は識別のため入力が必要です。'

# --- Make data of a new project: every problem at once, as check lists them. ---
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<zektrainsrc>\r\n</zektrainsrc>\r\n' >"$work/empty.xml"
problems=$(cli check "$W\\empty.xml" | tr -d '\r' | awk '{printf "%s{CR}{LF}", $0}')
count=$(cli check "$W\\empty.xml" | grep -vc ': warning: ')
d command 32778
check "make data: several problems open the report" d wait-dialog データ作成レポート
check "…centred on the main window" d expect-centred データ作成レポート
check "…listing them all, as check does ($count)" d expect-text データ作成レポート 1000 \
  "データ作成を中止しました。問題が${count}件あります。{CR}{LF}{CR}{LF}$problems"
check "…and saying no data file was written" d expect-text データ作成レポート 1001 データファイルは作成されていません。
shot データ作成レポート dialog-121-report
ok_dialog データ作成レポート

# --- Basic settings. ---
open_dialog 32781 基本設定
shot 基本設定 dialog-122-basic
check "basic: 19 categories, 普通電車 (32) selected" d expect-selection 基本設定 1150 4
check "basic: gauge correction entries" d expect-items 基本設定 1010 補正なし '1/160 -> 1/150' '1/150 -> 1/160'
check "basic: reset speed shown" d expect-text 基本設定 1004 120
check "basic: reset scale shown with %6.5f" d expect-text 基本設定 1008 1.00000
d set-text 基本設定 1001 RW-101
d set-text 基本設定 1003 RW101
d set-text 基本設定 1002 レールウィック101形
d set-text 基本設定 1005 見本の電車
d select 基本設定 1150 5
d set-text 基本設定 1004 501
d set-text 基本設定 1153 "$W\\out"
d press 基本設定 1
shot 検証 message-speed
check "basic: speed 501 names the field and its range, the dialog stays" \
  d expect-message 検証 '最高速度：1から500までの整数を入力してください。'
d set-text 基本設定 1004 '１１０'  # full-width digits, as an input method types them
d set-text 基本設定 1014 ' 3 '
d set-text 基本設定 1008 abc
d press 基本設定 1
check "basic: an unreadable scale is named" d expect-message 検証 'OBJ拡大率：数値を正しく入力してください。'
d set-text 基本設定 1008 1
# The main texture through its chooser; first a picture of the wrong size.
d press 基本設定 1007
d wait-dialog ファイル選択 && shot ファイル選択 file-chooser
check "the file chooser opens centred on the main window" d expect-centred ファイル選択
check "basic: png参照 puts the chosen file into its edit" d choose-file ファイル選択 "$A\\sign.png"
check "basic: the chosen path is shown" d expect-text 基本設定 1006 "$A\\sign.png"
# The folder chooser: cancelling it keeps the output folder.
d press 基本設定 1016
d wait-dialog '>基本設定' && shot '>基本設定' folder-chooser
d press '>基本設定' 2
d wait-gone '>基本設定'
check "basic: a cancelled folder chooser keeps the output path" d expect-text 基本設定 1153 "$W\\out"
d set-text 基本設定 1009 "$A\\missing.png"
d press 基本設定 1
check "basic: a wrong main texture is refused with its message" \
  d expect-message 検証 'メインテクスチャー：不適切なファイルです。'
check "basic: a missing type image is refused with its message" \
  d expect-message 検証 'サイドビュー：不適切なファイルです。'
check "basic: the dialog closes after the file messages" d wait-gone 基本設定
open_dialog 32781 基本設定
check "basic: the refused texture was not stored" d expect-text 基本設定 1006 ""
check "basic: the numbers were stored (full-width 110)" d expect-text 基本設定 1004 110
check "basic: tilt angle read with blanks around it" d expect-text 基本設定 1014 3
d set-text 基本設定 1006 "$M\\main.png"
d set-text 基本設定 1009 "$A\\sideview.png"
d set-text 基本設定 1014 0
shot 基本設定 guide-basic
check "basic: OK with good files closes" ok_dialog 基本設定

# --- Body. ---
open_dialog 32782 車体
shot 車体 dialog-123-body
d press 車体 1015
check "body: obj参照 chooses the glossy body" d choose-file ファイル選択 "$M\\body_glossy.obj"
d set-text 車体 1019 "$M\\body_matte.obj"
d set-text 車体 1027 "$M\\windows.obj"
d set-text 車体 1029 "$M\\interior.obj"
d set-text 車体 1013 "C:\\$(printf 'a%.0s' $(seq 1 257))"
d press 車体 1
check "body: a path longer than its field is refused, not cut" \
  d expect-message 検証 '車体（光沢）2：パスが長すぎます。{LF}259文字以内のパスを指定してください。'
d set-text 車体 1013 ""
check "body: OK" ok_dialog 車体

# --- Bogies and wheels. ---
open_dialog 32783 台車
shot 台車 dialog-124-bogie
check "bogie: type list" d expect-items 台車 1032 設定なし 回転 固定 中間
check "bogie: wheel list" d expect-items 台車 1036 設定なし 車輪1 車輪2
d set-text 台車 1018 "$M\\wheel.obj"
d set-text 台車 1022 5.7
d select 台車 1032 1
d set-text 台車 1030 abc
d set-text 台車 1034 "$M\\bogie_frame.obj"
d select 台車 1036 1
d select 台車 1061 1
d set-text 台車 1056 45
d set-text 台車 1065 "$M\\bogie_frame.obj"
d select 台車 1073 1
d press 台車 1
check "bogie: a bad position names the bogie's field" d expect-message 検証 '台車1 位置：数値を正しく入力してください。'
d set-text 台車 1030 -45
shot 台車 guide-bogie
check "bogie: OK" ok_dialog 台車

# --- Cabs. ---
open_dialog 32784 運転台
shot 運転台 dialog-125-cab
d check 運転台 1040 1
d set-text 運転台 1042 -60
d set-text 運転台 1044 abc
d set-text 運転台 1047 4
d check 運転台 1050 1
d set-text 運転台 1053 60
d set-text 運転台 1057 14
d set-text 運転台 1062 -4
d press 運転台 1
check "cab: letters in y are named" d expect-message 検証 'マイナス方向の運転台 y：数値を正しく入力してください。'
d set-text 運転台 1044 14
check "cab: OK" ok_dialog 運転台

# --- Pantographs, couplers, lights. ---
open_dialog 32785 パンタグラフ
shot パンタグラフ dialog-126-pantograph
d set-text パンタグラフ 1048 "$M\\panta_up.obj"
d press パンタグラフ 1058
check "pantograph: the lowered model's chooser" d choose-file ファイル選択 "$M\\panta_down.obj"
check "pantograph: OK" ok_dialog パンタグラフ

open_dialog 32786 連結器
shot 連結器 dialog-127-coupler
d set-text 連結器 1055 x
d set-text 連結器 1059 66.5
d press 連結器 1
check "coupler: a bad position is named" d expect-message 検証 '-x側位置：数値を正しく入力してください。'
d set-text 連結器 1055 -66.5
check "coupler: OK" ok_dialog 連結器

open_dialog 32787 ライト
shot ライト dialog-128-light
d set-text ライト 1060 "$M\\headlight_rear.obj"
d set-text ライト 1067 "$M\\taillight_rear.obj"
d set-text ライト 1075 "$M\\headlight_front.obj"
d set-text ライト 1082 "$M\\taillight_front.obj"
d set-text ライト 1087 "$M\\shunting_light.obj"
check "light: OK" ok_dialog ライト

# --- Options: each set is kept while another is shown; Cancel drops all. ---
open_dialog 32789 オプション
shot オプション dialog-129-option
check "option: the four sets" d expect-items オプション 1068 'オプション 1' 'オプション 2' 'オプション 3' 'オプション 4'
d set-text オプション 1072 "$M\\option_skirt.obj"
d select オプション 1068 1
check "option: set 2 is shown empty" d expect-text オプション 1072 ""
d select オプション 1068 0
check "option: set 1 kept its entry" d expect-text オプション 1072 "$M\\option_skirt.obj"
check "option: Cancel" cancel_dialog オプション
open_dialog 32789 オプション
check "option: Cancel dropped the change of set 1" d expect-text オプション 1072 ""
d set-text オプション 1072 "$M\\option_skirt.obj"
d set-text オプション 1080 "$M\\option_cooler.obj"
d check オプション 1136 1
d select オプション 1068 1
d set-text オプション 1072 "$M\\option_antenna.obj"
check "option: OK" ok_dialog オプション

# --- Head marks and destination signs. ---
open_dialog 32790 ヘッドマーク/方向幕
shot ヘッドマーク/方向幕 dialog-130-headmark
d set-text ヘッドマーク/方向幕 1137 "$M\\main.png"
d set-text ヘッドマーク/方向幕 1139 "$M\\sign_destination.obj"
d press ヘッドマーク/方向幕 1
check "headmark: a 256 x 256 picture is no vehicle texture" \
  d expect-message 検証 '車両テクスチャー：不適切なファイルです。'
d wait-gone ヘッドマーク/方向幕
open_dialog 32790 ヘッドマーク/方向幕
check "headmark: the sign model was stored all the same" d expect-text ヘッドマーク/方向幕 1139 "$M\\sign_destination.obj"
d press ヘッドマーク/方向幕 1138
d choose-file ファイル選択 "$M\\sign.png"
d set-text ヘッドマーク/方向幕 1143 "$M\\sign_plate.obj"
d set-text ヘッドマーク/方向幕 1148 "$M\\sign_plate2.obj"
d set-text ヘッドマーク/方向幕 1154 "$M\\head_mark.obj"
check "headmark: OK" ok_dialog ヘッドマーク/方向幕

# --- Sounds. ---
open_dialog 32788 サウンド
shot サウンド dialog-140-sound
d set-text サウンド 1144 "$A\\missing.wav"
d press サウンド 1
check "sound: a missing file is refused with its message" d expect-message 検証 '警笛 : 不適切なwaveファイルです。'
d wait-gone サウンド
open_dialog 32788 サウンド
d press サウンド 1142
check "sound: wav参照 chooses the brake" d choose-file ファイル選択 "$A\\brake.wav"
d set-text サウンド 1144 "$A\\警笛.wav"
d set-text サウンド 1149 "$A\\motor1.wav"
d set-text サウンド 1155 "$A\\motor2.wav"
d set-text サウンド 1161 "$A\\gap1.wav"
d set-text サウンド 1167 "$A\\gap2.wav"
d set-text サウンド 1176 "$A\\vvvf.wav"
d set-text サウンド 1182 "$A\\comp.wav"
shot サウンド guide-sound
check "sound: OK" ok_dialog サウンド

# --- Environment and About. ---
open_dialog 32779 環境設定
shot 環境設定 dialog-141-environment
check "environment: centred on the main window" d expect-centred 環境設定
check "environment: the workshop name, read-only" d expect-text 環境設定 1147 "$maker"
check "environment: the name cannot be edited" d expect-enabled 環境設定 1147 0
ok_dialog 環境設定
version=$(sed -n 's/^#define RAILWICK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/res/version.h")
open_dialog 104 バージョン情報
shot バージョン情報 dialog-142-about
check "about: product, version and copyright of the version record" \
  d expect-text バージョン情報 1159 "Railwick{CR}{LF}Version $version{CR}{LF}Copyright (C) Railwick developers{CR}{LF}"
ok_dialog バージョン情報

# --- Save, Make data, and the same project through the command-line tool. ---
d command 32780
d wait-dialog 保存 && shot 保存 save-chooser
check "save: the type number is proposed" d expect-text 保存 1148 RW-101
check "save: a new file name is taken" d choose-file 保存 "$W\\rw101.xml"
check "title: names the saved project" d wait-dialog 'rw101.xml - ZEK RAILWICK'
check "save: the project file is written" test -s "$work/rw101.xml"
cp "$work/rw101.xml" "$out/rw101.xml"
d command 32778
made=""
for _ in $(seq 1 300); do
  made=$(find "$work/out" -name '*.z5t' -size +0 2>/dev/null | head -n 1)
  [ -n "$made" ] && break
  sleep 0.2
done
check "make data: a data file is written in the output folder" test -n "$made"
sleep 1
check "make data: no report of a failed compilation" d wait-gone データ作成レポート
if [ -n "$made" ]; then
  cp "$made" "$out/program.z5t"
  check "make data: railwick verify accepts the file" cli verify "$(winpath "$made")" >"$out/verify.txt"
  cli make "$W\\rw101.xml" -o "$W\\cli" --workshop "$maker" >"$out/cli-make.txt" 2>&1
  cli_made=$(find "$work/cli" -name '*.z5t' 2>/dev/null | head -n 1)
  check "make data: railwick make of the saved project writes a file" test -n "$cli_made"
  if [ -n "$cli_made" ]; then
    cp "$cli_made" "$out/cli.z5t"
    check "make data: its records equal the program's" \
      cli diff "$(winpath "$made")" "$(winpath "$cli_made")" >"$out/diff.txt"
  fi
fi

# --- New, then Open from the menu: every field as entered. ---
d command 32771
open_dialog 32781 基本設定
check "new: the type number is empty" d expect-text 基本設定 1001 ""
cancel_dialog 基本設定
d command 32772
check "open: the file chooser takes the saved project" d choose-file ファイル選択 "$W\\rw101.xml"
open_dialog 32781 基本設定
check "open: type number" d expect-text 基本設定 1001 RW-101
check "open: type name" d expect-text 基本設定 1002 レールウィック101形
check "open: category 特急電車" d expect-selection 基本設定 1150 5
check "open: speed" d expect-text 基本設定 1004 110
# Names inside the project's folder come back relative to it.
check "open: main texture" d expect-text 基本設定 1006 'models\main.png'
check "open: output folder" d expect-text 基本設定 1153 out
cancel_dialog 基本設定
open_dialog 32783 台車
check "open: bogie 1 type" d expect-selection 台車 1032 1
check "open: bogie 1 position" d expect-text 台車 1030 -45.00000
check "open: bogie 2 first mount" d expect-selection 台車 1073 1
check "open: wheel radius" d expect-text 台車 1022 5.70000
cancel_dialog 台車
open_dialog 32784 運転台
check "open: cab 1 y" d expect-text 運転台 1044 14.000000
check "open: cab 2 active" d expect-check 運転台 1050 1
cancel_dialog 運転台
open_dialog 32789 オプション
check "open: option 1 on at start" d expect-check オプション 1136 1
d select オプション 1068 1
check "open: option 2 body part" d expect-text オプション 1072 'models\option_antenna.obj'
cancel_dialog オプション
open_dialog 32788 サウンド
check "open: horn with a Japanese file name" d expect-text サウンド 1144 'assets\警笛.wav'
cancel_dialog サウンド
# Every field at once: saved again under another name, the file is the same.
d command 32820
check "open: the opened file is the current file" d expect-text 保存 1148 rw101.xml
d choose-file 保存 "$W\\reopened.xml"
d wait-dialog 'reopened.xml - ZEK RAILWICK'
check "open: saved again, byte for byte the file first saved" cmp -s "$work/rw101.xml" "$work/reopened.xml"

# --- Dropped files. ---
d command 32771
check "title: a new project is untitled" d wait-dialog '無題 - ZEK RAILWICK'
d drop "$M\\wheel.obj"
check "drop: an OBJ file is reported" d expect-message 検証 "車両設定ファイル(*.xml)ではありません。{LF}$M\\wheel.obj"
d drop "$M"
check "drop: a folder is reported" \
  d expect-message 検証 "フォルダーは開けません。車両設定ファイル(*.xml)をドロップしてください。{LF}$M"
open_dialog 32781 基本設定
check "drop: an OBJ file changes nothing" d expect-text 基本設定 1001 ""
cancel_dialog 基本設定
cp "$work/rw101.xml" "$work/DROPPED.XML"
d drop "$W\\DROPPED.XML"
sleep 1
open_dialog 32781 基本設定
check "drop: a project file (XML in capitals) is loaded" d expect-text 基本設定 1001 RW-101
cancel_dialog 基本設定
open_dialog 32790 ヘッドマーク/方向幕
check "drop: head mark 1 as entered" d expect-text ヘッドマーク/方向幕 1154 'models\head_mark.obj'
cancel_dialog ヘッドマーク/方向幕
d command 32820
check "drop: the dropped file is the current file" d expect-text 保存 1148 DROPPED.XML
d choose-file 保存 "$W\\redropped.xml"
# The title names the file once it is written.
d wait-dialog 'redropped.xml - ZEK RAILWICK'
check "drop: saved again, byte for byte the file first saved" cmp -s "$work/rw101.xml" "$work/redropped.xml"

# --- Save keeps to the project's file, also by Ctrl+S; the title follows. ---
open_dialog 32781 基本設定
d set-text 基本設定 1004 98
ok_dialog 基本設定
check "title: an unsaved change is marked" d wait-dialog '* redropped.xml - ZEK RAILWICK'
rm -f "$work/DROPPED.XML"
d press-key 83 ctrl
check "Ctrl+S saves to the project's file without asking" d wait-dialog 'redropped.xml - ZEK RAILWICK'
check "…which holds the change" grep -q '<speed>98</speed>' "$work/redropped.xml"
# The recent projects: redropped, DROPPED (gone, so not listed), reopened.
d command 32831
check "File's second recent project, past a deleted one, opens" d wait-dialog 'reopened.xml - ZEK RAILWICK'

# --- Unsaved edits are never lost without asking. ---
open_dialog 32781 基本設定
d set-text 基本設定 1004 99
ok_dialog 基本設定
d command 32771
d wait-dialog 確認 && shot 確認 message-save-changes
check "New with an edit asks; Cancel keeps everything" \
  d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 2
open_dialog 32781 基本設定
check "…the edit is still there" d expect-text 基本設定 1004 99
cancel_dialog 基本設定
d drop "$W\\rw101.xml"
check "a drop with an edit asks; Cancel keeps the edit" d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 2
d command 32772
check "Open with an edit asks; No goes on" d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 7
d choose-file ファイル選択 "$W\\notes.xml"
check "open of a file that is no project tells the user" \
  d expect-message 検証 "車両設定ファイルではありません。{LF}$W\\notes.xml"
open_dialog 32781 基本設定
check "…and leaves the project as it was" d expect-text 基本設定 1004 99
cancel_dialog 基本設定
d close-window
check "closing the window asks; Cancel keeps it open" d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 2
check "…the program still runs" d expect-running 1
d press-key 27  # Esc
check "Esc asks too; No" d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 7
check "the program ends with code 0 after No" wait_exit

# --- Container places, in a second run. ---
check "the program starts again" start_program
d command 32830
check "the recent projects are kept from the last run" d wait-dialog 'reopened.xml - ZEK RAILWICK'
d command 32771
open_dialog 32792 コンテナ位置
shot コンテナ位置 dialog-143-container-list
check "container: the column titles are Japanese" d expect-columns コンテナ位置 1172 '種類|x|y|z'
d press コンテナ位置 1175
d wait-dialog コンテナ位置設定 && shot コンテナ位置設定 dialog-144-container-slot
check "container: type list ends with [削除]" d expect-items コンテナ位置設定 1181 荷物、その他 '自動車（小型）' \
  '自動車（中型）' '自動車（大型）' '国鉄5t、JR12フィート' '国鉄10t、JR20フィート' JR30フィート ISO20フィート ISO40フィート '[削除]'
d select コンテナ位置設定 1181 5
d set-text コンテナ位置設定 1177 abc
d press コンテナ位置設定 1
check "container: a bad x is named" d expect-message 検証 'コンテナ位置 x：数値を正しく入力してください。'
d set-text コンテナ位置設定 1177 250
d set-text コンテナ位置設定 1179 1.5
ok_dialog コンテナ位置設定
d press コンテナ位置 1175
d wait-dialog コンテナ位置設定
cancel_dialog コンテナ位置設定
check "container: a cancelled new place leaves no row; x clamped to 200" \
  d expect-rows コンテナ位置 1172 '国鉄10t、JR20フィート|200.00| 1.50| 0.00'
d dblclick-row コンテナ位置 1172 0
check "container: a double click opens the row's place" d expect-text コンテナ位置設定 1177 200.00
d set-text コンテナ位置設定 1180 -7
ok_dialog コンテナ位置設定
shot コンテナ位置 guide-container-list
check "container: the row shows the change" d expect-rows コンテナ位置 1172 '国鉄10t、JR20フィート|200.00| 1.50|-7.00'
for rows in $(seq 2 16); do
  d press コンテナ位置 1175
  d wait-dialog コンテナ位置設定 && ok_dialog コンテナ位置設定
  d expect-row-count コンテナ位置 1172 "$rows" || fail "container: place $rows was added"
done
d press コンテナ位置 1175
check "container: a seventeenth place is refused" d expect-message 検証 'コンテナ位置は16箇所まで設定できます。'
ok_dialog コンテナ位置
shot_dir_count=$(find "$out" -name 'dialog-*.png' | wc -l)
check "a picture of each of the 15 dialogs ($shot_dir_count)" test "$shot_dir_count" -ge 15
# The places were kept: Exit asks, Yes saves them (the name is proposed).
open_dialog 32781 基本設定
d set-text 基本設定 1001 KOKI
ok_dialog 基本設定
d command 105
check "Exit with edits asks; Yes saves" d expect-message 確認 '車両設定が変更されています。{LF}保存しますか？' 6
check "…through the save dialog" d choose-file 保存 "$W\\koki.xml"
check "the program ends with code 0 after saving" wait_exit
check "the saved file holds sixteen container places" test "$(grep -c '<container>' "$work/koki.xml")" = 16
check "…the first as entered" grep -q '<posz>-7.000000</posz>' "$work/koki.xml"

e2e_finish
