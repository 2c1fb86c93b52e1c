#!/usr/bin/env bash
# Under the POSIX locale (LANG unset, as in containers and chroots) the program's Japanese window
# titles reach the window manager readably, so the waits for windows by title find them; and
# ヘルプ > ヘルプ on a desktop without a browser or xdg-open answers with a message instead of
# nothing. Run under xvfb-run (ctest does); DOLVANE_SHOT_DIR keeps screenshots.
# Usage: help_without_browser.sh PROGRAM CONVERSION_LIBRARY
set -euo pipefail
unset LANG LANGUAGE LC_ALL $(env | sed -n 's/^\(LC_[A-Z_]*\)=.*/\1/p')

source "$(dirname "$0")/common.sh"
[ "$(locale charmap)" != UTF-8 ] || fail "the locale is still UTF-8"
mkdir -p "$work/prog/Help" "$work/no-programs"
echo '<html></html>' >"$work/prog/Help/Dolvane.htm"
keep_completed_for_no_days
# Nothing on the program's PATH can open a page.
env -u BROWSER PATH="$work/no-programs" "$work/prog/dolvane" &
pid=$!
main=$(wait_window Dolvane)

# A title that is Japanese from the start: the version box (ヘルプ > バージョン).
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --delay 150 alt+h Down Return
box=$(wait_window バージョン情報 10)
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
expect_no_window バージョン情報 1

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --delay 150 alt+h Return
box=$(wait_window ヘルプ 10)
shot help-without-browser
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
close_program
