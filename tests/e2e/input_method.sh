#!/usr/bin/env bash
# Japanese typed through a real input method, fcitx5 with mozc, on a real X server: "kara~" and
# the Return that confirms the conversion put "から〜" (mozc's wave dash, U+301C) in the task
# field and "50" the same way in 進捗; 追加 and 適用 store the to-do with cp932's wave dash and
# progress 50, and the Return never adds a row by itself. mozc refuses to run as root: as root the
# program, the input method and their session bus run as "nobody" in the script's private
# folders. Skipped (exit 77) where the input method is not installed.
# Usage: input_method.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail

skip() {
  echo "input_method: skipped: $*"
  exit 77
}
command -v fcitx5 >/dev/null || skip "fcitx5 is not installed (packages fcitx5 fcitx5-mozc fcitx5-frontend-qt6)"
[ -x /usr/lib/mozc/mozc_server ] || skip "mozc for fcitx5 is not installed (package fcitx5-mozc)"
compgen -G '/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so' >/dev/null ||
  skip "fcitx5's Qt 6 module is not installed (package fcitx5-frontend-qt6)"
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"

source "$(dirname "$0")/common.sh"
keep_completed_for_no_days
# The prefix that runs a command as the account (an array, so "$!" is the command itself).
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The list is the running account's.
  list="$work/prog/data/nobody/todolist.txt"
  mkdir -p "${list%/*}"
fi
write_list '2010/05/01 09:00+=03000@\@#@#前からある'
cp "$list" "$work/before"

# mozc wants its settings under ~/.config; fcitx5 reads its profile from the same place.
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$XDG_CONFIG_HOME/fcitx5"
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us

[Groups/0/Items/1]
Name=mozc
PROFILE

# Readable by the account wherever the sources lie.
cp "$(dirname "$0")/../support/private-session-bus.conf" "$work/bus.conf"
if [ "$(id -u)" = 0 ]; then
  chown -R nobody:nogroup "$work"
  chmod 755 "$work"
  if [ -n "${XAUTHORITY:-}" ]; then
    cp "$XAUTHORITY" "$work/Xauthority"
    chown nobody "$work/Xauthority"
    export XAUTHORITY="$work/Xauthority"
  fi
fi

# The session bus runs as the script's child, so that ending it also reaps it; it has no service
# folders, so asking for fcitx5 before it is up never starts a second one.
"${as_user[@]}" dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=1 >"$work/bus" &
bus_pid=$!
poll 50 '[ -s "$work/bus" ]' || true
DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
[ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS
im_session=
# fcitx5 starts mozc_server, which outlives it; both stay in the session setsid opens for fcitx5.
end_helpers() {
  if [ -n "$im_session" ]; then
    kill $(ps -o pid= -s "$im_session") 2>/dev/null || true
    poll 30 '[ -z "$(ps -o pid= -s "$im_session")" ]' || true
  fi
  kill "$bus_pid" 2>/dev/null || true
  wait "$bus_pid" 2>/dev/null || true
}

# A background job is no process group leader, so setsid opens the session without forking:
# fcitx5 keeps the job's process id, which names the session.
"${as_user[@]}" setsid fcitx5 --disable=notificationitem,kimpanel,clipboard >"$work/fcitx5.log" 2>&1 &
im_session=$!
poll 100 '"${as_user[@]}" fcitx5-remote >/dev/null 2>&1' || fail "fcitx5 did not start: $(tail -5 "$work/fcitx5.log")"

export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
start_program "${as_user[@]}"

# Types romaji over the text of the field at ($1, $2) of the window with the input method on,
# then confirms.
type_converted() {
  at_in "$main" "$1" "$2" click 1
  sleep 0.3
  xdotool key ctrl+a
  "${as_user[@]}" fcitx5-remote -o
  poll 50 '[ "$("${as_user[@]}" fcitx5-remote)" = 2 ]' || fail "the input method did not turn on"
  xdotool type --delay 120 "$3"
  sleep 0.5
  shot "composing-$3"
  xdotool key Return
  sleep 0.5
}

type_converted 650 480 'kara~'
type_converted 73 456 '50'
shot typed
at_in "$main" 306 486 click 1 # 追加
apply
await_list_line '\+=00050@\\@#@#から～$'
[ "$(grep -c '' "$list")" = 2 ] || fail "the confirming Return added rows: $(iconv -f cp932 -t utf-8 "$list" | tr '\r\n' '  ')"
head -1 "$list" | cmp -s - "$work/before" || fail "the first line changed"
close_program
