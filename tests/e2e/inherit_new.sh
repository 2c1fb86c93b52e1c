#!/usr/bin/env bash
# Inherit-new through the list's pop-up menu: a right click on a row opens the menu, its first
# entry "継承して新規作成(&R)" answers to R, and the new to-do takes the row's fields and a
# deadline 54 hours (the source's span in whole hours) after its own start. After 適用 the list
# file holds both. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: inherit_new.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

PROGRAM=$1 LIBRARY=$2 NAME=inherit_new
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
at_in "$main" 390 486 click 1   # 適用
await_list_line '=03000山田@\\@仕事#@#エアコンの掃除$'
line=$(iconv -f cp932 -t utf-8 "$list" | tr -d '\r' | sed -n 2p)
start=${line:0:16} deadline=${line:17:16}
expected=$(TZ=UTC date -d "${start//\//-} 54 hours" '+%Y/%m/%d %H:%M')
[ "$deadline" = "$expected" ] || fail "deadline $deadline, expected $expected (start $start): $line"
[[ "$line" == *"&${deadline}+48=03000"* ]] || fail "the warning or importance was not taken over: $line"
close_program
echo "inherit_new: 1 passed, 0 failed"
