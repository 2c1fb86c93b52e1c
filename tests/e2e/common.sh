# Shared by the end-to-end scripts: a private copy of the program in a temporary folder (its list
# and data.ini live beside the executable), private runtime and home folders, and helpers. Source
# it with the script's own arguments, PROGRAM and CONVERSION_LIBRARY; a script that gets to its
# end has passed.

NAME=$(basename "$0" .sh) PROGRAM=$1 LIBRARY=$2
work=$(mktemp -d)
pid=
# Evaluates the command text $2 every 0.1 s until it succeeds, at most $1 times; fails after.
poll() {
  for _ in $(seq "$1"); do
    eval "$2" && return 0
    sleep 0.1
  done
  return 1
}
# A failed check can leave a question open, which holds off SIGTERM: then the program is killed.
end_program() {
  [ -n "${pid:-}" ] || return 0
  kill "$pid" 2>/dev/null || true
  poll 30 '! kill -0 "$pid" 2>/dev/null' || true
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
# What a script starts besides the program, ended on the way out (a script redefines it).
end_helpers() { :; }
finish() {
  local status=$?
  end_program
  end_helpers
  rm -rf "$work"
  [ "$status" != 0 ] || echo "$NAME: passed"
}
trap finish EXIT
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

# Waits up to $2 seconds (default 20) for a shown top-level window titled exactly $1, then until
# it has stopped moving (a dialog is centred after it is mapped), and prints its id.
wait_window() {
  local id before="" now
  id=$(timeout "${2:-20}" xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || fail "no window titled $1"
  [ -n "$id" ] || fail "no window titled $1"
  for _ in $(seq 50); do
    now=$(xdotool getwindowgeometry "$id")
    [ "$now" = "$before" ] && break
    before=$now
    sleep 0.1
  done
  echo "$id"
}
# Waits up to 5 s until no window titled $1 is shown.
await_no_window() {
  local title=$1
  poll 50 '! xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1' || fail "the window $1 stayed open"
}
# Fails when a window titled $1 shows up within $2 seconds.
expect_no_window() {
  if timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null 2>&1; then
    fail "a window titled $1 appeared"
  fi
}
# Waits up to 10 s until the list file (as UTF-8) holds a line matching the extended regex $1.
await_list_line() {
  local pattern=$1
  poll 100 'iconv -f cp932 -t utf-8 "$list" 2>/dev/null | tr -d "\r" | grep -Eq -- "$pattern"' && return 0
  fail "the list file has no line matching $1: $(iconv -f cp932 -t utf-8 "$list" | tr -d '\r' | tr '\n' '|')"
}
list="$work/prog/data/$user/todolist.txt"
# Completed to-dos are kept for 0 days, so no offer to delete old ones comes between the clicks.
keep_completed_for_no_days() {
  printf '[tododel]\r\nValue=0\r\n' >"$work/prog/data.ini"
}
# Starts the program (through the command and arguments given, if any) and waits for its main
# window; sets pid and main.
start_program() {
  "$@" "$work/prog/dolvane" &
  pid=$!
  main=$(wait_window Dolvane)
}
# The y of list row $1 in the window: rows are 14 pixels high from y = 62.
row_y() { echo $((69 + 14 * $1)); }
# Presses 適用.
apply() { at_in "$main" 390 486 click 1; }
# Writes the list file from UTF-8 lines, in cp932 with CR LF.
write_list() {
  printf '%s\r\n' "$@" | iconv -f utf-8 -t cp932 >"$list"
}
# Moves the pointer to a point given relative to a window's top-left corner, then runs the
# remaining arguments there as xdotool commands (click 1, mousedown 1, ...).
at_in() {
  local id=$1 dx=$2 dy=$3 X Y WIDTH HEIGHT SCREEN WINDOW
  shift 3
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + dx)) $((Y + dy)) "$@"
}
# UTF-8 text to the cp932 bytes of the list file.
cp932() {
  iconv -f UTF-8 -t CP932
}
# Prints, in cp932 with CR LF, one line of the printf format $1 per character of $2; the format is
# given the line's day of the month (1, 2, ...), the character and the line's index (0, 1, ...).
numbered_lines() {
  local i
  for ((i = 0; i < ${#2}; i++)); do
    printf "$1\r\n" $((i + 1)) "${2:i:1}" "$i"
  done | cp932
}
# Waits up to 5 s until file $1 holds exactly the bytes of file $2; otherwise prints $3 with both
# texts and returns 1.
same_bytes() {
  local file=$1 expected=$2
  poll 50 'cmp -s "$file" "$expected"' && return 0
  echo "$NAME: $3: expected
$(iconv -f CP932 -t UTF-8 <"$2" | tr -d '\r')
but the list file holds
$(iconv -f CP932 -t UTF-8 <"$1" | tr -d '\r')" >&2
  return 1
}
# The same, ending the script on a difference.
wait_bytes() {
  same_bytes "$@" || exit 1
}
