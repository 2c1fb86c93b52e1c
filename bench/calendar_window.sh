#!/usr/bin/env bash
# How long the real window takes to start, show the calendar, step it and change its mode on a
# big list, and how much memory it holds after the start and with the calendar,
# on a virtual X server driven by xdotool. For each action it prints the wall time until the
# program is idle again and the CPU time it spent, next to the floor of the same run (the time an
# idle window takes to be seen idle). Figures only; nothing fails.
# Usage: bench/calendar_window.sh [ROWS]   (default 100000; build first)
# DOLVANE_BENCH_BIN names another folder holding dolvane and its library (an older build).
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-100000}
if [ -z "${DISPLAY:-}" ] || [ "${CALENDAR_BENCH_INNER:-}" != 1 ]; then
  exec env CALENDAR_BENCH_INNER=1 "$(dirname "$0")/../tests/support/xvfb-run.sh" -a -s '-screen 0 1024x768x24' "$0" "$rows"
fi

work=$(mktemp -d)
trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
mkdir -p "$work/prog/data/$(id -un)" "$work/runtime"
chmod 700 "$work/runtime"
bin=${DOLVANE_BENCH_BIN:-build/default/bin}
cp "$bin/dolvane" "$bin/libCharacterConversion.so" "$work/prog/"
python3 bench/make_bench_list.py "$work/prog/data/$(id -un)/todolist.txt" --rows "$rows" --now
# Keeping period 0: no purge question comes up to stop the measurement.
printf '[tododel]\r\nValue=0\r\n' >"$work/prog/data.ini"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
now_ms() { date +%s%3N; }
# Waits until the program has used no CPU for 300 ms; prints "wall_ms cpu_ms" since `since`.
settle() {
  local since=$1 cpu0=$2 last quiet=0
  last=$(ticks)
  while [ $quiet -lt 6 ]; do
    sleep 0.05
    local t
    t=$(ticks)
    if [ "$t" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$t; fi
  done
  echo "$(( $(now_ms) - since - 300 )) $(( (last - cpu0) * 10 ))"
}
click() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
measure() {
  local label=$1 dx=$2 dy=$3 start cpu0 result
  cpu0=$(ticks)
  start=$(now_ms)
  click "$dx" "$dy"
  result=$(settle "$start" "$cpu0")
  printf '%-28s wall %6s ms   cpu %6s ms\n' "$label" ${result}
  if [ -n "${DOLVANE_SHOT_DIR:-}" ]; then
    import -window root "$DOLVANE_SHOT_DIR/calendar-${label// /-}.png"
  fi
}

start=$(now_ms)
"$work/prog/dolvane" &
pid=$!
win=$(timeout 60 xdotool search --sync --onlyvisible --name '^Dolvane$' | head -1)
printf '%-28s wall %6s ms   cpu %6s ms\n' "start to idle window" $(settle "$start" 0)
printf '%-28s wall %6s ms   cpu %6s ms\n' "floor (an idle window)" $(settle "$(now_ms)" "$(ticks)")
rss() { awk '/VmRSS/ {printf "%.1f MiB", $2 / 1024}' "/proc/$pid/status"; }
echo "resident after start: $(rss)"
# The panel's top strip: "暦" (calendar), the mode button, back, forward. The sample list lies
# around today, so the month shown first and the one before it are the crowded ones.
measure "show the calendar" 630 396
echo "resident with the calendar: $(rss)"
# Clicks in the grid of a 1024x768 screen: the first bar row of the third week's Tuesday (a new
# day and a to-do), the second bar row of the same cell, then the third item of its day list.
measure "click a bar (another day)" 363 139
measure "click a bar (same day)" 363 154
measure "click a day-list item" 68 106
measure "step back" 687 396
measure "step forward" 715 396
measure "mode: three weeks" 658 396
measure "step back (weeks)" 687 396
measure "mode: two weeks" 658 396
measure "step forward (weeks)" 715 396
measure "hide the calendar" 630 396
echo "rows: $rows, resident at the end: $(rss), peak: $(awk '/VmHWM/ {printf "%.1f MiB", $2 / 1024}' "/proc/$pid/status")"
