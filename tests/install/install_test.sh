#!/usr/bin/env bash
# Installs the built program into a temporary home as a user would (scripts/install.sh), starts
# both programs through their launcher links and checks that they use the installed program
# folder, that the desktop entry is valid, that a list left in an old program folder moves over
# once, that installing again keeps the data, and what uninstalling keeps. Run under xvfb-run.
# Usage: install_test.sh BUILD_FOLDER
set -euo pipefail
export DOLVANE_BUILD_DIR=$(realpath "$1")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
pid=
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }
user=$(id -un)
export HOME=$work/home XDG_DATA_HOME= XDG_RUNTIME_DIR=$work/runtime DOLVANE_PREFIX=
unset XDG_DATA_HOME DOLVANE_PREFIX
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/old/data/$user"
chmod 700 "$XDG_RUNTIME_DIR"
prefix=$HOME/.local/opt/dolvane
list=$prefix/data/$user/todolist.txt
export DOLVANE_OLD_PROGRAM_FOLDER=$work/old

# A list of an earlier version, kept in its program folder, moves to the installed folder once.
printf '2010/05/01 09:00+=03000@\\@#@#old list\r\n' >"$work/old/data/$user/todolist.txt"
scripts/install.sh 2>"$work/install.log"
grep -q "copied from the build folder to $list" "$work/install.log" || fail "no word about the moved list: $(cat "$work/install.log")"
cmp -s "$work/old/data/$user/todolist.txt" "$list" || fail "the old list was not copied"
for file in dolvane dolvane-cli libCharacterConversion.so Help/Dolvane.htm data/NationalHoliday.txt; do
  [ -f "$prefix/$file" ] || fail "missing $prefix/$file"
done
[ "$(readlink "$HOME/.local/bin/dolvane")" = "$prefix/dolvane" ] || fail "the dolvane launcher is no link to the program"
desktop-file-validate "$HOME/.local/share/applications/dolvane.desktop" || fail "the desktop entry is not valid"
grep -qx "Exec=\"$prefix/dolvane\"" "$HOME/.local/share/applications/dolvane.desktop" || fail "Exec does not start the program"
[ -f "$HOME/.local/share/icons/hicolor/48x48/apps/dolvane.png" ] || fail "no 48 px icon"
[ -f "$HOME/.local/share/icons/hicolor/scalable/apps/dolvane.svg" ] || fail "no scalable icon"

# The companion through its launcher finds the installed list, not one beside the link.
"$HOME/.local/bin/dolvane-cli" add --task "installed" --now "2010/05/02 10:00" >/dev/null
grep -aq "#@#installed" "$list" || fail "dolvane-cli did not write the installed list"
[ ! -e "$HOME/.local/bin/data" ] || fail "dolvane-cli used the launcher's folder"
"$HOME/.local/bin/dolvane-cli" list --format tsv | grep -q "old list" || fail "dolvane-cli does not read the installed list"

# The window through its launcher writes its settings into the installed folder when it closes.
"$HOME/.local/bin/dolvane" &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Dolvane$' >/dev/null || fail "no window"
kill -TERM "$pid"
wait "$pid" || true
pid=
[ -f "$prefix/data.ini" ] || fail "the window did not write $prefix/data.ini"
[ ! -e "$HOME/.local/bin/data.ini" ] || fail "the window used the launcher's folder"

# Installing again (also with a newer old list around) leaves the data as it is.
before=$(cd "$prefix" && find data data.ini -type f -exec md5sum {} + | sort)
printf 'changed\r\n' >>"$work/old/data/$user/todolist.txt"
scripts/install.sh 2>"$work/install.log"
after=$(cd "$prefix" && find data data.ini -type f -exec md5sum {} + | sort)
[ "$before" = "$after" ] || fail "installing again changed the data"
! grep -q "copied" "$work/install.log" || fail "the list was copied twice"

# Uninstalling keeps the lists; removing them needs a confirmation.
scripts/uninstall.sh 2>/dev/null
[ ! -e "$prefix/dolvane" ] && [ ! -e "$HOME/.local/bin/dolvane" ] || fail "program files left after uninstalling"
[ ! -e "$HOME/.local/share/applications/dolvane.desktop" ] || fail "desktop entry left"
[ -f "$list" ] && [ -f "$prefix/data.ini" ] || fail "uninstalling removed the data"
if scripts/uninstall.sh --remove-data </dev/null 2>/dev/null; then fail "data removed without a confirmation"; fi
[ -f "$list" ] || fail "data removed without a confirmation"
scripts/uninstall.sh --remove-data --yes 2>/dev/null
[ ! -e "$prefix" ] || fail "data left after --remove-data --yes"
echo "install_test: passed"
