#!/usr/bin/env bash
# ".tod" export and import through the main menu and the real file dialogs: "Save" writes the
# saved list to the typed name with ".tod" added, "Load" replaces the rows with a file's to-dos,
# and 適用 then writes exactly those to the list file (that nothing is written before it, and the
# export's bytes, are the core tests' matter). Run under xvfb-run (ctest does);
# DOLVANE_SHOT_DIR keeps screenshots.
# Usage: tod_files.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

# Opens ファイル > ToDo管理 and picks its entry $1 (0 Load, 1 Save), then waits for the file
# dialog, types the path $2 into it and confirms.
through_file_dialog() {
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  xdotool key --delay 150 alt+f Right
  [ "$1" = 1 ] && xdotool key Down
  xdotool key Return
  local dialog
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '保存|開く|Save|Open' | head -1) ||
    fail "no file dialog"
  sleep 0.5
  shot "tod-dialog-$1"
  xdotool type --delay 10 "$2"
  xdotool key Return
  poll 100 "! xdotool search --onlyvisible --name '保存|開く|Save|Open' >/dev/null 2>&1" || fail "the file dialog stayed open"
}

write_list '2010/05/01 09:00+=03050@\@#@#一つ目' '2010/05/02 09:00+=03050@\@#@#二つ目'
start_program

through_file_dialog 1 "$work/exported"
poll 50 '[ -f "$work/exported.tod" ]' || fail "no exported.tod (files: $(ls "$work"))"

printf '%s\r\n' '2010/06/01 09:00+=03000@\@#@#取り込み一' '2010/06/02 09:00+=12100@\@#@#取り込み二' |
  iconv -f utf-8 -t cp932 >"$work/imported.tod"
through_file_dialog 0 "$work/imported.tod"
sleep 0.5
apply
await_list_line '取り込み二$'
[ "$(cat "$list")" = "$(cat "$work/imported.tod")" ] || fail "the list is not the imported file: $(iconv -f cp932 -t utf-8 "$list")"
close_program
