#!/usr/bin/env bash
# A double click on a cell of the list opens the cell edit dialog "編集" on that cell: the
# executor is replaced there, OK writes it into the row, and after 適用 the list file holds it.
# A double click on the remaining-time column opens nothing. Run under xvfb-run (ctest does);
# DOLVANE_SHOT_DIR keeps screenshots.
# Usage: cell_edit.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

write_list '2010/04/01 09:00&2010/04/03 15:30+48=03050山田@\@仕事#@#エアコンの掃除'
start_program

# Row 0 lies 69 pixels under the window's top; its remaining time at x 615, its executor at 355.
at_in "$main" 615 69 click --repeat 2 --delay 80 1
expect_no_window 編集 1.5
at_in "$main" 355 69 click --repeat 2 --delay 80 1
dialog=$(wait_window 編集)
shot cell-edit-dialog
xdotool key ctrl+a
xdotool type --delay 30 Suzuki
xdotool key Return
sleep 0.3
shot cell-edit-done
apply
await_list_line '^2010/04/01 09:00&2010/04/03 15:30\+48=03050Suzuki@\\@仕事#@#エアコンの掃除$'
close_program
