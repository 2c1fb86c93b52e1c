#!/usr/bin/env bash
# With unsaved changes a click on another main tab asks first; while the question is open the tab
# row still shows the old tab, and No leaves tabs, rows and changes as they were: "適用" then
# writes the tick made before. The selected tab's caption is the only blue on the tab row, so the
# screen is read for blue in each caption. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps
# screenshots.
# Usage: tab_change_refused.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

lines() {
  printf '2010/05/01 09:00+=%s3000@\\@家庭#@#買い物\r\n2010/05/02 09:00+=13000@\\@#@#済んだこと\r\n2010/05/03 09:00+=02000@\\@仕事#@#会議\r\n' "$1" |
    cp932
}
lines 0 >"$list"

start_program

# Blue pixels in the caption of main tab $1 (0 "全て" from x = 2, 3 "未完了" from x = 176).
blue_in_tab() {
  local X Y WIDTH HEIGHT SCREEN WINDOW left
  eval "$(xdotool getwindowgeometry --shell "$main")"
  left=$([ "$1" = 0 ] && echo 2 || echo 176)
  import -window root -crop "56x18+$((X + left))+$((Y + 20))" "$work/tab.png"
  convert "$work/tab.png" -fuzz 30% -fill '#ff0000' -opaque '#0000ff' txt:- | grep -c '#FF0000' || true
}
[ "$(blue_in_tab 0)" -gt 0 ] || fail "the first tab's caption is not blue at start"

at_in "$main" 10 69 click 1   # tick the first row: unsaved changes
at_in "$main" 200 28 click 1  # "未完了"
question=$(wait_window 確認)
at_in "$question" 5 5         # the pointer off the tab row
sleep 0.3
shot tab-question
[ "$(blue_in_tab 3)" -eq 0 ] || fail "the tab row shows 未完了 while the question is open"
[ "$(blue_in_tab 0)" -gt 0 ] || fail "the tab row no longer shows 全て while the question is open"

xdotool key Escape   # No (the question has the focus)
await_no_window 確認
shot tab-refused
[ "$(blue_in_tab 3)" -eq 0 ] && [ "$(blue_in_tab 0)" -gt 0 ] || fail "No changed the tab row"

apply
lines 1 >"$work/expected"
wait_bytes "$list" "$work/expected" "the rows and the tick after No"

close_program
