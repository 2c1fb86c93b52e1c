#!/usr/bin/env bash
# Drives the real program on a real X server with the mouse and keyboard, as a user would: opens
# "設定(&T)" from the menu, clicks the colour bar before and after it opens, moves the tab rows,
# switches case folding off and presses OK; then the program is closed and data.ini must hold
# what was chosen. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: settings_dialog.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

start_program
sleep 0.5

# The menu "ツール" is the third on the menu bar; its entry "設定(&T)" answers to T.
at_in "$main" 149 7 click 1
sleep 0.3
xdotool key t
dialog=$(wait_window 設定)
sleep 0.5
shot settings-closed-bar

# The colour bar's frame spans (8..215, 122..163) of the dialog; its middle is (112, 142). A click
# at once, before the hover timer has opened the thin bar, edits the frame colour.
at_in "$dialog" 112 142 click 1
wait_window 枠の色を変更 >/dev/null
sleep 0.3
shot settings-frame-chooser
xdotool key Escape
sleep 0.3

# The pointer stays over the frame: the bar opens, and a click in its middle edits the fill.
sleep 1.2
shot settings-open-bar
at_in "$dialog" 112 142 click 1
wait_window 進捗率の色を変更 >/dev/null
sleep 0.3
shot settings-fill-chooser
xdotool key Escape
sleep 0.3

at_in "$dialog" 177 36 click 1   # "右" of メインタブの表示位置
at_in "$dialog" 24 85 click 1    # "上" of 分類タブの表示位置
at_in "$dialog" 15 178 click 1   # untick 検索では、大文字小文字等を区別する
at_in "$dialog" 15 220 click 1   # untick 期限の通知を表示する
sleep 0.3
shot settings-chosen
at_in "$dialog" 97 276 click 1   # OK
sleep 0.5
shot settings-applied

close_program

ini="$work/prog/data.ini"
[ -f "$ini" ] || fail "data.ini was not written"
expect() {
  local file=${3:-$ini}
  tr -d '\r' <"$file" | grep -A1 -x "\[$1\]" | grep -qx "Value=$2" || fail "[$1] is not $2: $(tr -d '\r' <"$file" | tr '\n' ' ')"
}
expect tabalm 3
expect tabsub 0
expect bigsml 0
expect sevenchg 0
expect barcolor 255
expect wakucolor 32768
# The switch is the program's own: data.ini keeps the seven sections the sibling shares.
expect reminder 0 "$work/prog/dolvane-state.ini"
