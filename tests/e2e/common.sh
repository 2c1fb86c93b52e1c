# Shared by the end-to-end scripts: a private copy of the program in a temporary folder (its list
# and data.ini live beside the executable), private runtime and home folders, and helpers.
# Source it with NAME set to the script's name, after PROGRAM and LIBRARY.

work=$(mktemp -d)
pid=
trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
user=$(id -un)
mkdir -p "$work/prog/data/$user" "$work/runtime"
chmod 700 "$work/runtime"
cp "$PROGRAM" "$LIBRARY" "$work/prog/"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work" XDG_CONFIG_HOME="$work/config"

fail() {
  echo "$NAME: $*" >&2
  exit 1
}
# Keeps a screenshot of the whole screen when DOLVANE_SHOT_DIR names a folder.
shot() {
  if [ -n "${DOLVANE_SHOT_DIR:-}" ] && command -v import >/dev/null; then
    import -window root "$DOLVANE_SHOT_DIR/$1.png"
  fi
}
# A log-out's SIGTERM closes the window the usual way: the settings are written, nothing asked.
close_program() {
  kill -TERM "$pid"
  wait "$pid" || true
  pid=
}

# Waits for a shown top-level window by its exact title, then until it has stopped moving (a
# dialog is centred after it is mapped), and prints its id.
await_window() {
  local id before="" now
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || fail "no window titled $1"
  [ -n "$id" ] || fail "no window titled $1"
  for _ in $(seq 50); do
    now=$(xdotool getwindowgeometry "$id")
    [ "$now" = "$before" ] && break
    before=$now
    sleep 0.1
  done
  echo "$id"
}
# Fails when a window titled $1 shows up within $2 seconds.
expect_no_window() {
  if timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null 2>&1; then
    fail "a window titled $1 appeared"
  fi
}
# Moves the pointer to a point given relative to a window's top-left corner; more xdotool
# commands may follow ("click 1").
at_in() {
  local id=$1 dx=$2 dy=$3 X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + dx)) $((Y + dy)) "${@:4}"
}
# Waits up to 10 s until the list file (as UTF-8) holds a line matching the extended regex $1.
await_list_line() {
  for _ in $(seq 100); do
    if iconv -f cp932 -t utf-8 "$list" 2>/dev/null | tr -d '\r' | grep -Eq -- "$1"; then
      return 0
    fi
    sleep 0.1
  done
  fail "the list file has no line matching $1: $(iconv -f cp932 -t utf-8 "$list" | tr -d '\r' | tr '\n' '|')"
}
list="$work/prog/data/$user/todolist.txt"
# Writes the list file from UTF-8 lines, in cp932 with CR LF.
write_list() {
  printf '%s\r\n' "$@" | iconv -f utf-8 -t cp932 >"$list"
}
