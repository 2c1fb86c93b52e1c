#!/usr/bin/env bash
# The ways a to-do is edited on a real X server. A double click on a cell opens the cell edit
# dialog "編集" on it (on the remaining time nothing); F2 opens it on the list's current column,
# Right and Left move that column and Return opens it as well; Tab leaves a task field for the
# next control without typing a tab. In the panel, Tab and Space, Alt+N and a click on 追加 each
# add a to-do, after which Space ticks the new row; Ctrl+S is 適用. The pop-up menu's first entry
# "継承して新規作成(&R)" answers to R and copies the row (how its dates are worked out is the core
# tests' matter). The list file shows every edit with no tab character in it. Run under xvfb-run
# (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: edit_paths.sh PROGRAM CONVERSION_LIBRARY
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

# Row 0's remaining time at x 615, its executor at 355; the executor becomes the current cell.
at_in "$main" 615 69 click --repeat 2 --delay 80 1
expect_no_window 編集 1.5
at_in "$main" 355 69 click --repeat 2 --delay 80 1
wait_window 編集 >/dev/null
shot cell-edit-executor
xdotool key ctrl+a
xdotool type --delay 30 Suzuki
xdotool key Return
await_edited

# Right moves to the task (over it to the category and back), Return opens it; Tab leaves the
# memo for OK, whose Return closes it. Then Right and F2 edit the category.
xdotool key Right Right Left Return
wait_window 編集 >/dev/null
xdotool key ctrl+End
xdotool type --delay 30 ' done'
xdotool key Tab Return
await_edited
xdotool key Right F2
wait_window 編集 >/dev/null
xdotool key ctrl+a
xdotool type --delay 30 Home
xdotool key Return
await_edited
xdotool key ctrl+s
await_list_line '^2010/04/01 09:00&2010/04/03 15:30\+48=03050Suzuki@\\@Home#@#エアコンの掃除 done$'

# The panel's task field (showing the selected row's task at first): Tab goes on to 追加, Space
# presses it; Alt+N adds a second to-do and a click on 追加 a third.
add_typed() {
  at_in "$main" 650 480 click 1
  xdotool key ctrl+a
  xdotool type --delay 30 "$1"
}
add_typed 'call Sato'
xdotool key Tab space
shot tab-then-space
add_typed 'write memo'
xdotool key alt+n
add_typed 'by click'
at_in "$main" 306 486 click 1
xdotool key space   # the list has the keyboard, its current row the new one: Space ticks it

# The pop-up menu of row 0.
at_in "$main" 430 69 click 3
timeout 10 xdotool search --sync --onlyvisible --classname dolvane >/dev/null
sleep 0.5
shot inherit-popup-menu
xdotool key r
sleep 0.3
xdotool key ctrl+s
for task in '0.*#@#call Sato' '0.*#@#write memo' '1.*#@#by click'; do
  await_list_line "=$task\$"
done
await_list_line '^.{16}&.{16}\+48=03000Suzuki@\\@Home#@#エアコンの掃除 done$'
[ "$(grep -c '' "$list")" = 5 ] || fail "not four new to-dos: $(iconv -f cp932 -t utf-8 "$list")"
if tr -d '\r' <"$list" | grep -q "$(printf '\t')"; then
  fail "a tab character reached the list file"
fi
close_program
