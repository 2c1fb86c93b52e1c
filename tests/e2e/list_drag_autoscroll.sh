#!/usr/bin/env bash
# A drag held just below the rows (over the horizontal scroll bar, still inside the list widget)
# scrolls the list and selects the rows that come into view. The box of a selected row then ticks
# them all and "適用" writes them: more rows must be ticked than one screenful holds, in one run
# from the first row, the rest untouched. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps
# screenshots.
# Usage: list_drag_autoscroll.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

# Sixty to-dos; the first $1 of them done.
lines() {
  numbered_lines '2010/05/01 09:00+=%.0s%s3000@\\@#@#行%02d' "$(printf '%*s' "$1" '' | tr ' ' 1)$(printf '%*s' $((60 - $1)) '' | tr ' ' 0)"
}
lines 0 >"$list"

start_program

# Rows from y = 62 of the window, 14 pixels each; 22 fit above the horizontal scroll bar, which
# starts at y = 368. Pressed on row 0, dragged to y = 373 and held there.
at_in "$main" 250 69 mousedown 1
at_in "$main" 250 200
at_in "$main" 250 373
sleep 1.5
xdotool mouseup 1
shot autoscroll-released

# The box of the top row shown, which is selected, then "適用".
at_in "$main" 10 69 click 1
apply
poll 50 'ticked=$(LC_ALL=C grep -c "^2010/05/01 09:00+=1" "$list"); [ "$ticked" -gt 0 ]' || true
[ "$ticked" -ge 26 ] || fail "only $ticked rows were selected: the list did not scroll"
lines "$ticked" >"$work/expected"
wait_bytes "$list" "$work/expected" "rows 0 to $((ticked - 1)) ticked"

close_program
