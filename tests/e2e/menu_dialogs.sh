#!/usr/bin/env bash
# The main menu's dialogs, driven on a real X server with the mouse and keyboard as a user would,
# under the POSIX locale (LANG unset, as in containers and chroots): the program's Japanese window
# titles must reach the window manager readably, or the waits for windows by title find nothing.
# ヘルプ > ヘルプ on a desktop without a browser or xdg-open answers with a message instead of
# nothing. "設定(&T)": the colour bar is clicked before and after it opens, the tab rows are
# moved, case folding is switched off and OK pressed; then the program is closed and data.ini
# must hold what was chosen. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: menu_dialogs.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail
unset LANG LANGUAGE LC_ALL $(env | sed -n 's/^\(LC_[A-Z_]*\)=.*/\1/p')

source "$(dirname "$0")/common.sh"
[ "$(locale charmap)" != UTF-8 ] || fail "the locale is still UTF-8"
mkdir -p "$work/prog/Help" "$work/no-programs"
echo '<html></html>' >"$work/prog/Help/Dolvane.htm"
# Nothing on the program's PATH can open a page.
start_program env -u BROWSER PATH="$work/no-programs"

# A title that is Japanese from the start: the version box (ヘルプ > バージョン).
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --delay 150 alt+h Down Return
box=$(wait_window バージョン情報 10)
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
expect_no_window バージョン情報 1

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --delay 150 alt+h Return
box=$(wait_window ヘルプ 10)
shot help-without-browser
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
await_no_window ヘルプ

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
