#!/usr/bin/env bash
# Drives the real program's calendar on a real X server: a tap (press and release at once, as
# `xdotool click` sends them) on a bar row of a day that is not the current cell must select the
# to-do drawn in that row; dragging that day onto a later one then gives the to-do a deadline
# there, and "適用" writes it to the list file. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR
# keeps screenshots.
# Usage: calendar_tap_and_drag.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

# Days of the month the calendar opens on (today's), away from today so that none is current.
month=$(date +%Y/%m)
today=$((10#$(date +%d)))
first=10
if [ "$today" -ge 8 ] && [ "$today" -le 15 ]; then first=20; fi
day() { printf '%s/%02d' "$month" "$1"; }
# "spanning" runs three days and takes bar row 0 on them; "single" sits on the middle day only,
# in bar row 1 there.
printf '%s 09:00&%s 18:00+=03000@\\@#@#spanning\r\n%s 09:00+=03000@\\@#@#single\r\n' \
  "$(day $first)" "$(day $((first + 2)))" "$(day $((first + 1)))" >"$list"

start_program
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
at() { xdotool mousemove $((X + $1)) $((Y + $2)) "${@:3}"; }

# "暦" at the panel's top strip shows the calendar in place of the list.
at 630 396 click 1
sleep 0.8
shot calendar-shown

# The month grid at the window's first size: 7 columns of 86 pixels from x = 149, a header of 18
# pixels from y = 44, weeks of 52 pixels; bar rows are 14 pixels high below the day number's line.
lead=$(( $(date -d "$month/01" +%w) ))   # Sunday = 0: cells before the 1st
cell_x() { echo $((149 + ($(( ($1 - 1 + lead) % 7 )) ) * 86 + 43)); }
cell_y() { echo $((44 + 18 + ($(( ($1 - 1 + lead) / 7 )) ) * 52)); }
middle=$((first + 1))
tap_x=$(cell_x $middle)
tap_y=$(( $(cell_y $middle) + 14 * 2 + 7 ))   # bar row 1

at "$tap_x" "$tap_y" click 1
sleep 0.5
shot calendar-tapped

# Drag the single to-do's day two days on: it has no deadline, so the drop gives it one there.
target=$((first + 3))
xdotool mousedown 1
sleep 0.2
for step in 1 2 3 4 5 6; do
  at $((tap_x + ($(cell_x $target) - tap_x) * step / 6)) $((tap_y + ($(cell_y $target) + 20 - tap_y) * step / 6))
  sleep 0.05
done
xdotool mouseup 1
sleep 0.5
shot calendar-dropped

apply
sleep 0.8
close_program

list=$(tr -d '\r' <"$list")
grep -q "^$(day $middle) 09:00&$(day $target) [0-9][0-9]:[0-9][0-9]+=03000@\\\\@#@#single\$" <<<"$list" ||
  fail "the tapped to-do did not take the dropped deadline: $list"
grep -q "^$(day $first) 09:00&$(day $((first + 2))) 18:00+=03000@\\\\@#@#spanning\$" <<<"$list" ||
  fail "the other to-do changed: $list"
