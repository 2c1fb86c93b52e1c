#!/usr/bin/env bash
# Times whole runs of dolvane-cli on generated lists against two floors measured in the same run:
# `cat` of the file (reading it) and a durable copy (`dd bs=1M conv=fdatasync`, what an atomic
# save must at least do). For each size: `list --view open --format tsv`, `list --view all` in the
# text, csv and json formats, `add` and `done`, each the median of several runs, with its ratio to
# its floor (list to cat, add and done to the durable copy) and the peak memory of one run against
# the file's size. Every add and done starts from a fresh copy of the list, so each run does the same
# work, and the page cache is synced before every run. Absolute times do not carry between
# machines; the ratios do.
#
# usage: bench/cli_bench.sh [path/to/dolvane-cli] [runs] [rows...]   (rows default: 10000 50000 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/default/bin/dolvane-cli}
runs=${2:-7}
shift $(( $# > 2 ? 2 : $# ))
sizes=("${@:-10000 50000 100000}")
[ -x "$cli" ] || { echo "no executable at $cli (build it first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (scripts/setup.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now="2010/05/10 12:00"

# Median wall time in milliseconds of `runs` runs of "$@"; the list is restored before each run,
# and the restored list is written back to the disk first, so that no run (the floors' included)
# pays for the flushing of the copy before it.
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    cp "$work/pristine.txt" "$work/list.txt"
    rm -f "$work/copy.txt"
    sync
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}

# Peak resident memory in MiB of one run of "$@".
peak_mib() {
  cp "$work/pristine.txt" "$work/list.txt"
  /usr/bin/time -v "$@" 2> "$work/time.txt" > /dev/null
  awk -F: '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$work/time.txt"
}

table=()
for rows in ${sizes[*]}; do
  python3 bench/make_bench_list.py "$work/list.txt" --rows "$rows" >/dev/null
  cp "$work/list.txt" "$work/pristine.txt"
  bytes=$(stat -c %s "$work/list.txt")
  mib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')
  # An open to-do to complete: the first line whose flag after "=" is 0.
  open_line=$(( $(LC_ALL=C grep -n -m1 -a '=0' "$work/list.txt" | cut -d: -f1) - 1 ))
  echo
  echo "list file: $rows lines, $bytes bytes ($mib MiB); median of $runs runs"
  cat_ms=$(median_ms cat "$work/list.txt")
  copy_ms=$(median_ms dd if="$work/list.txt" of="$work/copy.txt" bs=1M conv=fdatasync status=none)
  printf '%-36s %8s ms\n' "floor: cat" "$cat_ms" "floor: durable copy (dd fdatasync)" "$copy_ms"
  line="$rows"
  report() {
    local name=$1 floor=$2 floor_ms=$3
    shift 3
    local ms peak ratio memory
    ms=$(median_ms "$@")
    peak=$(peak_mib "$@")
    ratio=$(awk -v a="$ms" -v b="$floor_ms" 'BEGIN { printf "%.1f", a / b }')
    memory=$(awk -v a="$peak" -v b="$mib" 'BEGIN { printf "%.1f", a / b }')
    printf '%-36s %8s ms  %5sx %-5s %7s MiB  %4sx the file\n' "$name" "$ms" "$ratio" "$floor" "$peak" "$memory"
    line="$line | ${ratio}x"
  }
  report "list --view open --format tsv" cat "$cat_ms" \
    "$cli" list --file "$work/list.txt" --view open --format tsv --now "$now"
  report "list --view all --format text" cat "$cat_ms" \
    "$cli" list --file "$work/list.txt" --format text --now "$now"
  report "list --view all --format csv" cat "$cat_ms" \
    "$cli" list --file "$work/list.txt" --format csv --now "$now"
  report "list --view all --format json" cat "$cat_ms" \
    "$cli" list --file "$work/list.txt" --format json --now "$now"
  report "add --task ..." copy "$copy_ms" \
    "$cli" add --file "$work/list.txt" --task "ベンチマークの追加" --deadline "2010/05/20 18:00"
  report "done $open_line" copy "$copy_ms" "$cli" done "$open_line" --file "$work/list.txt"
  table+=("$line")
done

echo
echo "ratios to the floor by size (list: to cat; add, done: to the durable copy)"
echo "rows | list open tsv | list all text | list all csv | list all json | add | done"
printf '%s\n' "${table[@]}"
