#!/usr/bin/env bash
# Drives the real program on a real X server with the mouse and keyboard, as a user would: opens
# "設定(&T)" from the menu, clicks the colour bar before and after it opens, moves the tab rows,
# switches case folding off and presses OK; then the program is closed and data.ini must hold
# what was chosen. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: settings_dialog.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

PROGRAM=$1 LIBRARY=$2 NAME=settings_dialog
source "$(dirname "$0")/common.sh"

# Waits for a shown top-level window by its exact title, then until it has stopped moving (a
# dialog is centred after it is mapped), and prints its id.
window() {
  local id before="" now
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || fail "no window titled $1"
  [ -n "$id" ] || fail "no window titled $1"
  for _ in $(seq 50); do
    now=$(xdotool getwindowgeometry "$id")
    [ "$now" = "$before" ] && break
    before=$now
    sleep 0.2
  done
  echo "$id"
}
# Clicks at a point given relative to a window's top-left corner.
click_in() {
  local id=$1 dx=$2 dy=$3 X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + dx)) $((Y + dy)) click 1
}

"$work/prog/dolvane" &
pid=$!
main=$(window Dolvane)
sleep 0.5

# The menu "ツール" is the third on the menu bar; its entry "設定(&T)" answers to T.
click_in "$main" 149 7
sleep 0.3
xdotool key t
dialog=$(window 設定)
sleep 0.5
shot settings-closed-bar

# The colour bar's frame spans (8..215, 122..163) of the dialog; its middle is (112, 142). A click
# at once, before the hover timer has opened the thin bar, edits the frame colour.
click_in "$dialog" 112 142
window 枠の色を変更 >/dev/null
sleep 0.3
shot settings-frame-chooser
xdotool key Escape
sleep 0.3

# The pointer stays over the frame: the bar opens, and a click in its middle edits the fill.
sleep 1.2
shot settings-open-bar
click_in "$dialog" 112 142
window 進捗率の色を変更 >/dev/null
sleep 0.3
shot settings-fill-chooser
xdotool key Escape
sleep 0.3

click_in "$dialog" 177 36   # "右" of メインタブの表示位置
click_in "$dialog" 24 85    # "上" of 分類タブの表示位置
click_in "$dialog" 15 178   # untick 検索では、大文字小文字等を区別する
click_in "$dialog" 15 220   # untick 期限の通知を表示する
sleep 0.3
shot settings-chosen
click_in "$dialog" 97 276   # OK
sleep 0.5
shot settings-applied

close_program

ini="$work/prog/data.ini"
[ -f "$ini" ] || fail "data.ini was not written"
expect() {
  tr -d '\r' <"$ini" | grep -A1 -x "\[$1\]" | grep -qx "Value=$2" || fail "[$1] is not $2: $(tr -d '\r' <"$ini" | tr '\n' ' ')"
}
expect tabalm 3
expect tabsub 0
expect bigsml 0
expect sevenchg 0
expect barcolor 255
expect wakucolor 32768
expect reminder 0
echo "settings_dialog: 1 passed, 0 failed"
