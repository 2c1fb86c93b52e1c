#!/usr/bin/env bash
# Drives the list's check boxes and the tab row on a real X server. A press on a box toggles it
# exactly once, even right after a click on the same row's first column (the list view compares a
# release with the last press it saw), and a double click on it toggles it twice and opens nothing;
# with three rows selected the box of one ticks all three. With that tick unsaved a left click on
# another main tab asks first (the right button, the wheel and the tab shown do not); while the
# question is open the tab row still shows the old tab, and No leaves tabs, rows and changes as
# they were. "適用" writes each state, and the list file is compared byte for byte. Run under
# xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: check_boxes_and_tabs.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

# Five open to-dos; $1 holds each one's completion flag, in file (and list) order.
lines() { numbered_lines '2010/05/%02d 09:00&2010/05/20 18:00+24=%s3050総務@\\@仕事#@#報告書その%s' "$1"; }
lines 00000 >"$list"

start_program

# Rows are 14 pixels high from y = 62 of the window; the box lies left of x = 16.

failed=0
# Row 1: first its start date, then its box.
at_in "$main" 60 "$(row_y 1)" click 1
at_in "$main" 10 "$(row_y 1)" click 1
shot check-box-after-first-column
apply
lines 01000 >"$work/expected"
same_bytes "$list" "$work/expected" "a click on the first column and then on the box of the same row" ||
  failed=$((failed + 1))

# A double click on that box, again right after a click on the first column, is two presses: the
# box ends as it was and no cell editor opens.
at_in "$main" 60 "$(row_y 1)" click 1
at_in "$main" 10 "$(row_y 1)" click --repeat 2 --delay 80 1
expect_no_window 編集 1
apply
sleep 0.5
same_bytes "$list" "$work/expected" "a double click on a box" || failed=$((failed + 1))

# Rows 2 to 4 selected by a click and a shift-click on their first column, then the box of row 4
# (the row clicked last): the three rows are ticked. Each expectation is made from the file as it
# is now, so that each check stands on its own.
at_in "$main" 60 "$(row_y 2)" click 1
xdotool keydown shift
at_in "$main" 60 "$(row_y 4)" click 1
xdotool keyup shift
at_in "$main" 10 "$(row_y 4)" click 1
shot check-box-three-selected
LC_ALL=C sed '3,5s/+24=0/+24=1/' "$list" >"$work/expected"
apply
same_bytes "$list" "$work/expected" "the box of one of three selected rows" || failed=$((failed + 1))

# Blue pixels in the caption of main tab $1 (0 "全て" from x = 2, 3 "未完了" from x = 176): the
# selected tab's caption is the only blue on the tab row.
blue_in_tab() {
  local X Y WIDTH HEIGHT SCREEN WINDOW left
  eval "$(xdotool getwindowgeometry --shell "$main")"
  left=$([ "$1" = 0 ] && echo 2 || echo 176)
  import -window root -crop "56x18+$((X + left))+$((Y + 20))" "$work/tab.png"
  convert "$work/tab.png" -fuzz 30% -fill '#ff0000' -opaque '#0000ff' txt:- | grep -c '#FF0000' || true
}
[ "$(blue_in_tab 0)" -gt 0 ] || fail "the first tab's caption is not blue at start"

at_in "$main" 10 "$(row_y 0)" click 1   # tick row 0: unsaved changes
# Neither the right button, the wheel nor a click on the tab shown asks for a tab, nor moves the row.
at_in "$main" 200 28 click 3 click 5
at_in "$main" 20 28 click 1
expect_no_window 確認 1
[ "$(blue_in_tab 0)" -gt 0 ] || fail "the right button, the wheel or a click on 全て left 全て"
at_in "$main" 200 28 click 1            # "未完了"
question=$(wait_window 確認)
at_in "$question" 5 5                   # the pointer off the tab row
sleep 0.3
shot tab-question
[ "$(blue_in_tab 3)" -eq 0 ] || fail "the tab row shows 未完了 while the question is open"
[ "$(blue_in_tab 0)" -gt 0 ] || fail "the tab row no longer shows 全て while the question is open"

xdotool key Escape   # No (the question has the focus)
await_no_window 確認
shot tab-refused
[ "$(blue_in_tab 3)" -eq 0 ] && [ "$(blue_in_tab 0)" -gt 0 ] || fail "No changed the tab row"
LC_ALL=C sed '1s/+24=0/+24=1/' "$list" >"$work/expected"
apply
same_bytes "$list" "$work/expected" "the rows and the tick after No" || failed=$((failed + 1))

close_program
[ "$failed" -eq 0 ] || fail "$failed of 4 checks failed"
