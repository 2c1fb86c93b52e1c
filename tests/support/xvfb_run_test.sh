#!/usr/bin/env bash
# The end-to-end tests' xvfb-run wrapper leaves no X server behind, even when xvfb-run itself is
# killed before it can stop its server (plain xvfb-run leaves it running then).
# Usage: xvfb_run_test.sh [XVFB_RUN]   (the wrapper beside this script by default)
set -uo pipefail
wrapper=${1:-$(dirname "$0")/xvfb-run.sh}
display_file=$(mktemp)
trap 'rm -f "$display_file"' EXIT
"$wrapper" -a sh -c 'echo "$DISPLAY" >"$1"; kill -KILL "$PPID"; sleep 5' - "$display_file" 2>/dev/null
display=$(cat "$display_file")
[ -n "$display" ] || { echo "xvfb_run_test: the command did not run" >&2; exit 1; }
for _ in $(seq 20); do
  pgrep -f "Xvfb $display " >/dev/null || { echo "xvfb_run_test: passed"; exit 0; }
  sleep 0.1
done
kill -KILL $(pgrep -f "Xvfb $display ") 2>/dev/null
echo "xvfb_run_test: the X server of $display outlived xvfb-run" >&2
exit 1
