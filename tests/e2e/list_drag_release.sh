#!/usr/bin/env bash
# A drag that starts on a row that is already selected and ends below the list keeps the
# selection, and the editing panel keeps showing its first row: "置換" with the importance box
# ticked then gives both selected rows the first one's importance, and "適用" writes it. A click
# (press and release on the same row) on one of the selected rows selects that row alone. Run under
# xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: list_drag_release.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

# Four open to-dos; $1 holds each one's importance.
lines() { numbered_lines '2010/05/%02d 09:00+=0%s000@\\@#@#打ち合わせ%s' "$1"; }
lines 1425 >"$list"

start_program

# Rows 1 and 2 selected; the panel shows row 1 (importance 4).
at_in "$main" 250 "$(row_y 1)" click 1
xdotool keydown shift
at_in "$main" 250 "$(row_y 2)" click 1
xdotool keyup shift

# Pressed on row 1 again, dragged below the list into the editing panel and released there.
at_in "$main" 250 "$(row_y 1)" mousedown 1
for y in 140 260 380 430; do
  at_in "$main" 250 "$y"
  sleep 0.05
done
xdotool mouseup 1
sleep 0.3
shot drag-released-below-list

# "重要度" include box, then "置換" and "適用".
at_in "$main" 213 396 click 1
at_in "$main" 348 486 click 1
apply
lines 1445 >"$work/expected"
wait_bytes "$list" "$work/expected" "the selection and the panel after the drag"

# A click on row 2, selected with row 1, selects it alone: its box then ticks row 2 only.
at_in "$main" 250 "$(row_y 2)" click 1
at_in "$main" 10 "$(row_y 2)" click 1
apply
lines 1445 | LC_ALL=C sed '3s/+=0/+=1/' >"$work/expected"
wait_bytes "$list" "$work/expected" "the selection after a click on a selected row"

close_program
