#!/usr/bin/env bash
# Installs the built program into a temporary home as a user would (scripts/install.sh), starts
# both programs through their launcher links and checks that they use the installed program
# folder, that the desktop entry is valid, that a list left in an old program folder moves over
# once, that installing again keeps the data, that uninstalling removes only what install put
# there, and that odd program folders install correctly or are refused. Run under xvfb-run.
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
for file in dolvane dolvane-cli libCharacterConversion.so; do
  ! readelf -S --wide "$prefix/$file" | grep -Eq '\.symtab|\.debug_info' || fail "$file is not stripped"
done

# Without a screen the start says so and how to start it later, instead of waiting on a window.
message=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 scripts/start.sh 2>&1) || fail "the start without a screen failed: $message"
grep -q "no screen is attached" <<<"$message" && grep -qF "$HOME/.local/bin/dolvane" <<<"$message" ||
  fail "no word about the missing screen: $message"

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

# Uninstalling removes what install put there and keeps the lists and whatever else the user
# put in the program folder; --remove-data removes only the user's own list and settings.
mkdir -p "$prefix/data/photos" "$prefix/data/other"
echo mine >"$prefix/Help/notes.txt"
echo photo >"$prefix/data/photos/a.jpg"
echo theirs >"$prefix/data/other/todolist.txt"
touch "$list.lock" "$list.Dolvane.lock" "$list.tmp-1-2" "$prefix/dolvane-state.ini"
foreign="Help/notes.txt data/photos/a.jpg data/other/todolist.txt"
scripts/uninstall.sh 2>/dev/null
[ ! -e "$prefix/dolvane" ] && [ ! -e "$prefix/Help/Dolvane.htm" ] && [ ! -e "$HOME/.local/bin/dolvane" ] || fail "program files left after uninstalling"
[ ! -e "$HOME/.local/share/applications/dolvane.desktop" ] || fail "desktop entry left"
[ ! -e "$HOME/.local/share/icons" ] || fail "the icon folders install created are left: $(find "$HOME/.local/share/icons")"
[ -f "$list" ] && [ -f "$prefix/data.ini" ] || fail "uninstalling removed the data"
if scripts/uninstall.sh --remove-data </dev/null 2>/dev/null; then fail "data removed without a confirmation"; fi
[ -f "$list" ] || fail "data removed without a confirmation"
scripts/uninstall.sh --remove-data --yes 2>/dev/null
for file in "$list" "$list.lock" "$list.Dolvane.lock" "$list.tmp-1-2" "$prefix/data.ini" "$prefix/dolvane-state.ini"; do
  [ ! -e "$file" ] || fail "$file left after --remove-data --yes"
done
for file in $foreign; do
  [ -f "$prefix/$file" ] || fail "uninstalling removed $file, which install did not put there"
done
(cd "$prefix" && rm $foreign && rmdir data/photos data/other)
scripts/uninstall.sh 2>/dev/null
[ ! -e "$HOME/.local/opt" ] && [ ! -e "$HOME/.local/bin" ] && [ ! -e "$HOME/.local/share/applications" ] ||
  fail "folders install created are left: $(find "$HOME/.local")"

# A folder that is not empty and is no Dolvane program folder is refused before anything is
# written, and uninstalling there removes nothing.
mkdir -p "$HOME/Help" "$HOME/data/photos"
echo mine >"$HOME/Help/notes.txt"
echo photo >"$HOME/data/photos/a.jpg"
before=$(find "$HOME" | sort)
if DOLVANE_PREFIX=$HOME scripts/install.sh 2>/dev/null; then fail "installed into a folder of the user's"; fi
if DOLVANE_PREFIX=$HOME scripts/uninstall.sh --remove-data --yes 2>/dev/null; then fail "uninstalled from a folder of the user's"; fi
for odd in $'x\ny' 'x\y'; do
  if DOLVANE_PREFIX=$HOME/$odd scripts/install.sh 2>/dev/null; then fail "installed into $odd"; fi
done
[ "$(find "$HOME" | sort)" = "$before" ] || fail "a refused install or uninstall changed the home folder"

# Odd characters in the program folder: the desktop entry quotes them as its format says, the
# launchers work, and uninstalling finds everything again. A relative folder is the caller's.
odd=$work/'a b&c|d"e$f%g`h'
DOLVANE_PREFIX=$odd scripts/install.sh 2>/dev/null
desktop-file-validate "$HOME/.local/share/applications/dolvane.desktop" || fail "the desktop entry of an odd folder is not valid"
grep -qxF 'Exec="'"$work"'/a b&c|d\\"e\\$f%%g\\`h/dolvane"' "$HOME/.local/share/applications/dolvane.desktop" ||
  fail "Exec is not quoted: $(grep Exec= "$HOME/.local/share/applications/dolvane.desktop")"
"$HOME/.local/bin/dolvane-cli" holidays --year 2026 >/dev/null || fail "dolvane-cli does not start from an odd folder"
DOLVANE_PREFIX=$odd scripts/uninstall.sh --remove-data --yes 2>/dev/null
[ ! -e "$odd" ] && [ ! -e "$HOME/.local/bin/dolvane-cli" ] || fail "uninstalling an odd folder left files: $(find "$odd" "$HOME/.local/bin")"
here=$PWD
(cd "$work" && DOLVANE_PREFIX=relative/dolvane "$here/scripts/install.sh" 2>/dev/null)
[ "$(readlink "$HOME/.local/bin/dolvane")" = "$work/relative/dolvane/dolvane" ] || fail "a relative folder is not taken from the caller's folder"
(cd "$work" && DOLVANE_PREFIX=relative/dolvane "$here/scripts/uninstall.sh" --remove-data --yes 2>/dev/null)
[ ! -e "$work/relative" ] || fail "uninstalling a relative folder left files"
echo "install_test: passed"
