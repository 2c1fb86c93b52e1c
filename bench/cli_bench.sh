#!/usr/bin/env bash
# Times whole runs of dolvane-cli on a generated list (100,000 lines unless told otherwise):
# `list --view open --format tsv`, `add` and `done`, each the median of several runs, with the
# peak memory of one run (/usr/bin/time -v) and, for scale, the time to `cat` the same file.
# Every add and done starts from a fresh copy of the list, so each run does the same work.
#
# usage: bench/cli_bench.sh [path/to/dolvane-cli] [rows] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/default/bin/dolvane-cli}
rows=${2:-100000}
runs=${3:-9}
[ -x "$cli" ] || { echo "no executable at $cli (build it first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (scripts/setup.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/make_bench_list.py "$work/list.txt" --rows "$rows"
cp "$work/list.txt" "$work/pristine.txt"
now="2010/05/10 12:00"
# An open to-do to complete: the first line whose flag after "=" is 0.
open_line=$(LC_ALL=C grep -n -m1 -a '=0' "$work/list.txt" | cut -d: -f1)
open_line=$((open_line - 1))

# Median wall time in milliseconds of `runs` runs of "$@"; the list is restored before each run.
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    cp "$work/pristine.txt" "$work/list.txt"
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
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

report() {
  local name=$1
  shift
  printf '%-44s %8s ms %8s MiB\n' "$name" "$(median_ms "$@")" "$(peak_mib "$@")"
}

bytes=$(stat -c %s "$work/list.txt")
echo "list file: $rows lines, $bytes bytes; median of $runs runs"
report "cat (reading the file alone)" cat "$work/list.txt"
report "list --view open --format tsv" "$cli" list --file "$work/list.txt" --view open --format tsv --now "$now"
report "list --view all --format text" "$cli" list --file "$work/list.txt" --format text --now "$now"
report "add --task ..." "$cli" add --file "$work/list.txt" --task "ベンチマークの追加" --deadline "2010/05/20 18:00"
report "done $open_line" "$cli" done "$open_line" --file "$work/list.txt"
echo "rows listed by list --view open: $("$cli" list --file "$work/list.txt" --view open --format tsv --now "$now" | wc -l)"
