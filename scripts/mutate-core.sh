#!/usr/bin/env bash
# Plants small bugs in the sources one at a time, rebuilds core_tests and runs it, and prints
# which bugs the tests killed and which survived. A developer's tool; CI does not run it.
#
# Usage: scripts/mutate-core.sh [list]   (default: scripts/core-mutations.txt)
#
# Each line of the list is "file|search|replace": `search` must occur exactly once in `file` (a
# path from the top of the repository) and is replaced literally by `replace`. Write "\|" for a
# bar inside either text. Blank lines and lines starting with "#" are skipped.
#
# Environment: MUTATION_TIMEOUT seconds per test run (default 120); a run that times out counts
# as killed, as a hang is a failure too.
#
# The file is restored after every mutation, on Ctrl-C and on any error. Restoring gives it a
# new time stamp, so the next build recompiles it; a last build leaves core_tests as the real
# code builds it.
set -euo pipefail
cd "$(dirname "$0")/.."

list=${1:-scripts/core-mutations.txt}
timeout_seconds=${MUTATION_TIMEOUT:-120}
binary=build/default/bin/core_tests
[ -f "$list" ] || { echo "no mutation list: $list" >&2; exit 2; }
[ -f build/default/build.ninja ] || cmake --preset default >/dev/null

work=$(mktemp -d)
mutated=""  # the file holding a mutation right now, if any

restore() {
  if [ -n "$mutated" ]; then
    # Written over rather than moved back: the file keeps its mode and gets a new time stamp.
    cat "$work/original" >"$mutated"
    mutated=""
  fi
}
cleanup() {
  local status=$?
  restore
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

build() {
  cmake --build --preset default --target core_tests >"$work/build.log" 2>&1
}

if ! build; then
  tail -20 "$work/build.log" >&2
  echo "core_tests does not build before any mutation" >&2
  exit 2
fi

killed=0
survived=0
unusable=0
survivors=()
number=0
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in '' | '#'*) continue ;; esac
  number=$((number + 1))
  # "\|" becomes a byte no source holds while the line is split on the bars.
  escaped=${line//\\|/$'\x01'}
  IFS='|' read -r file search replace <<<"$escaped"
  search=${search//$'\x01'/|}
  replace=${replace//$'\x01'/|}
  label="#$number $file: '$search' -> '$replace'"

  if [ ! -f "$file" ]; then
    echo "unusable  $label (no such file)"
    unusable=$((unusable + 1))
    continue
  fi
  count=$(SEARCH=$search perl -0777 -ne 'my $n = () = /\Q$ENV{SEARCH}\E/g; print $n' "$file")
  if [ "$count" != 1 ]; then
    echo "unusable  $label (found $count times)"
    unusable=$((unusable + 1))
    continue
  fi

  cp "$file" "$work/original"
  mutated=$file
  SEARCH=$search REPLACE=$replace perl -0777 -pi -e 's/\Q$ENV{SEARCH}\E/$ENV{REPLACE}/' "$file"
  if ! build; then
    echo "unusable  $label (does not build)"
    unusable=$((unusable + 1))
  elif timeout "$timeout_seconds" "$binary" --gtest_brief=1 >"$work/run.log" 2>&1; then
    echo "SURVIVED  $label"
    survived=$((survived + 1))
    survivors+=("$label")
  else
    status=$?
    if [ "$status" = 124 ]; then
      echo "killed    $label (timed out)"
    else
      echo "killed    $label ($(grep -m1 '^\[  FAILED  \]' "$work/run.log" || echo "exit $status"))"
    fi
    killed=$((killed + 1))
  fi
  restore
done <"$list"

echo "rebuilding core_tests from the real sources"
build || { tail -20 "$work/build.log" >&2; exit 2; }
echo "killed $killed, survived $survived, unusable $unusable"
for label in "${survivors[@]}"; do
  echo "  survived: $label"
done
[ "$survived" = 0 ]
