#!/usr/bin/env bash
# The Find command with an unsaved deletion: after the search text is entered the program asks
# before the reload would drop the change; "No" (Escape) keeps it, so 適用 then writes the list
# without the deleted row. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: find_with_unsaved_changes.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

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
close_program
