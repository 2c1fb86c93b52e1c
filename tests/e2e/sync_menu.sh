#!/usr/bin/env bash
# ツール > 同期(&Y) against a Radicale server of the script's own: a to-do synced up by dolvane-cli
# is edited on the server with curl (as a phone would), the menu item runs a pass, the window
# reports it and reloads, and a tick applied afterwards lands on the server's version of the line
# (a window still showing the old line would write the old task or refuse the save).
# Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: sync_menu.sh PROGRAM CONVERSION_LIBRARY (dolvane-cli is taken from beside PROGRAM)
set -euo pipefail

source "$(dirname "$0")/common.sh"
command -v radicale >/dev/null || fail "needs radicale (scripts/setup.sh installs it)"
cp "$(dirname "$PROGRAM")/dolvane-cli" "$work/prog/"
# A session bus nobody listens on (an empty address would make the D-Bus library try to start
# one): the password goes to the file under the script's own configuration folder.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

server=
end_helpers() { [ -z "$server" ] || kill "$server" 2>/dev/null || true; }
source "$(dirname "$0")/../../scripts/local-radicale.sh"
start_local_radicale "$work"

keep_completed_for_no_days
write_list '2010/05/01 09:00+=03000@\@#@#電話する' '2010/05/02 09:00+=03000@\@#@#買い物'
printf 'secret\n' | "$work/prog/dolvane-cli" sync --setup "http://127.0.0.1:$port/" tester >/dev/null ||
  fail "setup failed"
"$work/prog/dolvane-cli" sync >/dev/null || fail "the first sync failed"

# The phone's edit: the task of the first to-do.
name=$(grep -l 'SUMMARY:電話する' "$work"/storage/collection-root/tester/tasks/*.ics | head -1)
[ -n "$name" ] || fail "the to-do is not on the server"
sed 's/SUMMARY:電話する/SUMMARY:電話を折り返す/' "$name" >"$work/edited.ics"
curl -sf -u tester:secret -X PUT -H 'Content-Type: text/calendar; charset=utf-8' \
  --data-binary @"$work/edited.ics" "$collection$(basename "$name")" >/dev/null || fail "the server took no edit"

start_program
# The menu "ツール" is the third on the menu bar; its entry "同期(&Y)" answers to Y.
at_in "$main" 149 7 click 1
sleep 0.3
shot sync-menu
xdotool key y
# The report comes in a message box titled as the main window.
poll 100 '[ "$(xdotool search --onlyvisible --name "^Dolvane\$" | wc -l)" -ge 2 ]' || fail "no report of the sync"
shot sync-report
await_list_line '^2010/05/01 09:00\+=03000@\\@#@#電話を折り返す$'
xdotool key Return
sleep 0.5

# The reloaded window shows the server's task: its tick is saved on that line.
at_in "$main" 10 "$(row_y 0)" click 1
apply
await_list_line '^2010/05/01 09:00\+=13000@\\@#@#電話を折り返す$'
shot sync-applied
close_program
