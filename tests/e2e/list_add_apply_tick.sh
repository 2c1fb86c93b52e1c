#!/usr/bin/env bash
# The everyday round trip on a real X server: a task typed into the panel, "追加", "適用". The list
# file is compared byte for byte: the lines that were there keep their bytes and the new one is
# appended. (A check box and "適用" are list_check_boxes.sh's.) Run under xvfb-run (ctest does);
# DOLVANE_SHOT_DIR keeps screenshots.
# Usage: list_add_apply_tick.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

# Two to-dos, one with a two-line task (･･ in the file) and one done, in cp932.
printf '2010/05/01 09:00&2010/05/10 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する\r\n2010/05/02 10:00|2010/05/03 11:00+=15100@\\@#@#済んだこと\r\n' |
  cp932 >"$list"
cp "$list" "$work/before"

start_program

# The task memo, then "追加". A new row starts now: the minute before and after the click.
at_in "$main" 650 480 click 1
xdotool type --delay 20 'call Sato'
early=$(date '+%Y/%m/%d %H:%M')
at_in "$main" 306 486 click 1
late=$(date '+%Y/%m/%d %H:%M')
shot added
apply
# Whichever of the two minutes the row took; the wait compares all bytes.
for _ in $(seq 50); do
  grep -qa "^$late+" "$list" && break
  grep -qa "^$early+" "$list" && { late=$early; break; }
  sleep 0.1
done
{ cat "$work/before"; printf '%s+=00000@\\@#@#call Sato\r\n' "$late"; } >"$work/expected"
wait_bytes "$list" "$work/expected" "the added to-do after 適用"

close_program
