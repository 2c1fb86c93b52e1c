#!/usr/bin/env bash
# Times dolvane-cli sync against a Radicale server of its own on localhost: the first pass of a
# 1,000-line list (1,000 new to-dos going up) and the median of passes over the same list
# unchanged, each against a floor measured in the same run: for the unchanged pass one PROPFIND
# of the collection by curl (a process start and one request, what such a pass cannot do
# without); for the first pass the server's own pace, 100 PUTs of new to-dos by one curl process
# over one connection (without waiting for a 100 Continue), scaled to the count. Absolute times
# do not carry between machines; the ratios do.
#
# usage: bench/bench_sync.sh [path/to/dolvane-cli] [runs] [to-dos]   (defaults: 7 runs, 1000)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/default/bin/dolvane-cli}
runs=${2:-7}
count=${3:-1000}
[ -x "$cli" ] || { echo "no executable at $cli (build it first)" >&2; exit 1; }
command -v radicale >/dev/null || { echo "needs radicale (scripts/setup.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

mkdir -p "$work/program"
source scripts/local-radicale.sh
start_local_radicale "$work"

# The program's state file and the password file stay in the work folder.
cp "$cli" "$work/program/dolvane-cli"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" DBUS_SESSION_BUS_ADDRESS=
printf 'secret\n' | "$work/program/dolvane-cli" sync --setup "$collection" tester > /dev/null

list="$work/todolist.txt"
for i in $(seq "$count"); do
  printf '2024/05/01 09:00&2024/06/01 18:00+24=02050@\\@#@#task %d\r\n' "$i"
done > "$list"

elapsed_ms() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    times+=("$(elapsed_ms "$@")")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# The server's pace for new resources, in a collection of its own so the pass below starts empty.
mkdir -p "$work/storage/collection-root/tester/floor"
cp "$work/storage/collection-root/tester/tasks/.Radicale.props" "$work/storage/collection-root/tester/floor/"
uploads=()
for i in $(seq 100); do
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VTODO\r\nUID:floor-%d\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240501T090000Z\r\nSUMMARY:task %d\r\nEND:VTODO\r\nEND:VCALENDAR\r\n' "$i" "$i" \
    > "$work/floor-$i.ics"
  uploads+=(-T "$work/floor-$i.ics" "http://127.0.0.1:$port/tester/floor/floor-$i.ics")
done
puts=$(elapsed_ms curl -s -o /dev/null -u tester:secret -H 'Expect:' -H 'Content-Type: text/calendar' -H 'If-None-Match: *' "${uploads[@]}")
put_floor=$(( puts * count / 100 ))

up=$(elapsed_ms "$work/program/dolvane-cli" sync --file "$list")
floor=$(median_ms curl -s -o /dev/null -u tester:secret -X PROPFIND -H 'Depth: 0' "$collection")
unchanged=$(median_ms "$work/program/dolvane-cli" sync --file "$list")
echo "floor (curl, 100 PUTs x $((count / 100))):    ${put_floor} ms"
echo "sync of $count new to-dos (up):   ${up} ms, $(awk -v a="$up" -v b="$put_floor" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }') x the floor"
echo "floor (curl, one PROPFIND):      ${floor} ms (median of $runs)"
echo "sync of $count unchanged to-dos: ${unchanged} ms (median of $runs), $(awk -v a="$unchanged" -v b="$floor" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }') x the floor"
