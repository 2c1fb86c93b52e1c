#!/usr/bin/env bash
# Compares two builds of dolvane-cli on generated lists: every view and format of `list`, and the
# bytes `add` and `done` leave on disk. Prints one line per case and "same" or the first
# difference; exits 1 when any output differs. For checking that a rework changed no behaviour.
# usage: bench/compare_cli.sh OLD_CLI NEW_CLI [rows...]
set -euo pipefail
cd "$(dirname "$0")/.."
old=$1 new=$2
shift 2
sizes=("${@:-1000 20000}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now="2010/05/10 12:00"
differ=0
check() {
  local what=$1
  if cmp -s "$work/old.out" "$work/new.out"; then
    echo "same       $what"
  else
    echo "DIFFERENT  $what: $(cmp "$work/old.out" "$work/new.out" 2>&1 | head -1)"
    differ=1
  fi
}
for rows in ${sizes[*]}; do
  python3 bench/make_bench_list.py "$work/list.txt" --rows "$rows" >/dev/null
  for view in all none open done "search --search 報告" "search --search ほうこく --fold"; do
    for format in text tsv csv json "csv --cp932"; do
      # shellcheck disable=SC2086
      "$old" list --file "$work/list.txt" --now "$now" --view $view --format $format >"$work/old.out"
      # shellcheck disable=SC2086
      "$new" list --file "$work/list.txt" --now "$now" --view $view --format $format >"$work/new.out"
      check "$rows rows: list --view $view --format $format"
    done
  done
  open_line=$(LC_ALL=C grep -n -m1 -a '=0' "$work/list.txt" | cut -d: -f1)
  done_line=$(LC_ALL=C grep -n -m1 -a '=1' "$work/list.txt" | cut -d: -f1)
  for command in "add --task 追加した --deadline 2010/06/01_18:00 --importance 4" "done $((open_line - 1))" \
    "done $((done_line - 1))"; do
    for side in old new; do
      cp "$work/list.txt" "$work/$side.list"
      cli=$old
      [ "$side" = new ] && cli=$new
      # shellcheck disable=SC2086
      "$cli" ${command//_/ } --file "$work/$side.list" --now "$now" >"$work/$side.printed" 2>&1 || true
    done
    cp "$work/old.list" "$work/old.out"
    cp "$work/new.list" "$work/new.out"
    check "$rows rows: $command (file)"
    cp "$work/old.printed" "$work/old.out"
    cp "$work/new.printed" "$work/new.out"
    check "$rows rows: $command (printed)"
  done
done
exit $differ
