#!/usr/bin/env bash
# The keyboard's ways through the window on a real X server: F2 on a row opens the cell edit
# dialog on the current column and Right moves that column (Return opens it as well); Tab leaves a
# task field for the next control without typing a tab; Alt+N is 追加 and Ctrl+S is 適用. The list
# file shows every edit with no tab character in it. Run under xvfb-run (ctest does);
# DOLVANE_SHOT_DIR keeps screenshots.
# Usage: keyboard_paths.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

write_list '2010/04/01 09:00&2010/04/03 15:30+48=03050山田@\@仕事#@#エアコンの掃除'
start_program

# Waits for the cell edit dialog to go away, then gives the main window the keyboard again: there
# is no window manager here to hand it back.
await_edited() {
  await_no_window 編集
  xdotool windowfocus --sync "$main"
}

# A click on row 0's executor makes it the current cell; F2 edits it.
at_in "$main" 355 69 click 1
xdotool key F2
wait_window 編集 >/dev/null
shot f2-executor
xdotool key ctrl+a
xdotool type --delay 30 Suzuki
xdotool key Return
await_edited

# Right moves to the task (Right and Left: over it and back), Return opens it; Tab leaves the memo
# for OK, whose Return closes it.
xdotool key Right Right Left Return
wait_window 編集 >/dev/null
xdotool key ctrl+End
xdotool type --delay 30 ' done'
xdotool key Tab Return
await_edited
xdotool key ctrl+s
await_list_line '^2010/04/01 09:00&2010/04/03 15:30\+48=03050Suzuki@\\@仕事#@#エアコンの掃除 done$'

# The panel's task field (showing the selected row's task at first): Tab goes on to 追加, Space
# presses it; Alt+N adds a second to-do.
at_in "$main" 650 480 click 1
xdotool key ctrl+a
xdotool type --delay 30 'call Sato'
xdotool key Tab space
shot tab-then-space
at_in "$main" 650 480 click 1
xdotool key ctrl+a
xdotool type --delay 30 'write memo'
xdotool key alt+n
sleep 0.3
xdotool key ctrl+s
await_list_line '#@#call Sato$'
await_list_line '#@#write memo$'
if tr -d '\r' <"$list" | grep -q "$(printf '\t')"; then
  fail "a tab character reached the list file"
fi
close_program
