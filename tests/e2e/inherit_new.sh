#!/usr/bin/env bash
# Inherit-new through the list's pop-up menu: a right click on a row opens the menu, its first
# entry "継承して新規作成(&R)" answers to R, and the new to-do takes the row's fields (how its
# dates are worked out is the core tests' matter). After 適用 the list file holds both. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: inherit_new.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

source "$(dirname "$0")/common.sh"

write_list '2010/04/01 09:00&2010/04/03 15:30+48=03050山田@\@仕事#@#エアコンの掃除'
start_program

at_in "$main" 430 69 click 3
timeout 10 xdotool search --sync --onlyvisible --classname dolvane >/dev/null
sleep 0.5
shot inherit-popup-menu
xdotool key r
sleep 0.3
shot inherit-done
apply
await_list_line '^.{16}&.{16}\+48=03000山田@\\@仕事#@#エアコンの掃除$'
[ "$(grep -c '' "$list")" = 2 ] || fail "not one new to-do: $(iconv -f cp932 -t utf-8 "$list")"
close_program
