#!/usr/bin/env bash
# The list file changes behind the program while a change waits to be applied. "適用" asks before
# writing over it, and Return, the key pressed without reading, answers No: the other program's
# file stays as it is. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: overwrite_question.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

write_list '2010/05/01 09:00&2010/05/20 18:00+24=03050@\@#@#first'
start_program

at_in "$main" 10 69 click 1     # the box of row 0: an unsaved change
write_list '2010/05/01 09:00&2010/05/20 18:00+24=03050@\@#@#first' '2010/05/02 09:00+=00000@\@#@#added elsewhere'
cp "$list" "$work/expected"
apply
wait_window 確認 >/dev/null
shot overwrite-question
xdotool key Return
await_no_window 確認
sleep 0.5
wait_bytes "$list" "$work/expected" "Return wrote over the other program's change"
end_program   # the change is still unsaved: closing would ask again
