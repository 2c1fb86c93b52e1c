#!/usr/bin/env bash
# Questions about an unsaved change, answered from the keyboard on a real X server. Delete asks
# first and Return deletes; then the Find command asks before the reload would drop the deletion,
# and "No" (Escape) keeps it, so 適用 writes the list without the deleted row. Then the list file
# changes behind the program while a tick waits to be applied: "適用" asks before writing over
# it, and Return, the key pressed without reading, answers No, so the other program's file stays
# as it is. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: unsaved_change_questions.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days

write_list '2010/04/01 09:00&+0=00000@\@#@#first' '2010/04/02 09:00&+0=00000@\@#@#second'
start_program

at_in "$main" 430 69 click 1   # row 0
xdotool key Delete
wait_window 削除確認 >/dev/null
shot find-delete-question
xdotool key Return             # Yes: the row leaves the list, unsaved
sleep 0.3

at_in "$main" 149 7 click 1     # the menu "ツール"
sleep 0.3
xdotool key s                   # 検索(&S)
wait_window 実行者とすべきことから検索 >/dev/null
xdotool type --delay 30 second
xdotool key Return
wait_window 確認 >/dev/null
shot find-question
xdotool key Escape              # No
sleep 0.3
apply
printf '%s\r\n' '2010/04/02 09:00&+0=00000@\@#@#second' >"$work/expected"
wait_bytes "$list" "$work/expected" "the deletion was not kept"

at_in "$main" 10 69 click 1     # the box of the row left: an unsaved change
write_list '2010/04/02 09:00&+0=00000@\@#@#second' '2010/05/02 09:00+=00000@\@#@#added elsewhere'
cp "$list" "$work/expected"
apply
wait_window 確認 >/dev/null
shot overwrite-question
xdotool key Return
await_no_window 確認
sleep 0.5
wait_bytes "$list" "$work/expected" "Return wrote over the other program's change"
end_program   # the change is still unsaved: closing would ask again
