#!/usr/bin/env bash
# Installs the built program for the current user, without root:
#   the program folder   ${DOLVANE_PREFIX:-~/.local/opt/dolvane} (programs, library, Help/, data/)
#   launchers            ~/.local/bin/dolvane, ~/.local/bin/dolvane-cli (symbolic links)
#   desktop entry        ~/.local/share/applications/dolvane.desktop
#   icon                 ~/.local/share/icons/hicolor/{scalable,48x48}/apps/dolvane.{svg,png}
# The user's lists (data/<user>/) and settings (data.ini, dolvane-state.ini) in the program folder are never touched.
# A list left in the build folder by earlier versions is copied over once (DOLVANE_OLD_PROGRAM_FOLDER
# names another folder to take it from).
# Usage: scripts/install.sh   (after scripts/build.sh; scripts/run.sh does both; DOLVANE_BUILD_DIR
# names another build folder than build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-paths.sh

build=${DOLVANE_BUILD_DIR:-build/default}
[ -x "$build/bin/dolvane" ] || { echo "install: build first (scripts/build.sh)" >&2; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null

mkdir -p "$bin_dir" "$applications_dir" "$icons_dir/scalable/apps" "$icons_dir/48x48/apps"
ln -sfn "$prefix/dolvane" "$bin_dir/dolvane"
ln -sfn "$prefix/dolvane-cli" "$bin_dir/dolvane-cli"
install -m 644 packaging/dolvane.svg "$icons_dir/scalable/apps/dolvane.svg"
install -m 644 packaging/dolvane-48.png "$icons_dir/48x48/apps/dolvane.png"
sed "s|@PROGRAM@|$prefix/dolvane|" packaging/dolvane.desktop.in >"$applications_dir/dolvane.desktop"
chmod 644 "$applications_dir/dolvane.desktop"
if command -v update-desktop-database >/dev/null 2>&1; then
  update-desktop-database -q "$applications_dir" 2>/dev/null || true
fi

# Earlier versions ran from the build folder and kept the list there, where a clean build
# deletes it. Copy it (and its settings) over once, only where the installed folder has none.
user=$(id -un)
old_folder=${DOLVANE_OLD_PROGRAM_FOLDER:-$build/bin}
old_list=$old_folder/data/$user/todolist.txt
new_list=$prefix/data/$user/todolist.txt
if [ -f "$old_list" ] && [ ! -e "$new_list" ]; then
  mkdir -p "$(dirname "$new_list")"
  cp -p "$old_list" "$new_list"
  for settings in data.ini dolvane-state.ini; do
    if [ -f "$old_folder/$settings" ] && [ ! -e "$prefix/$settings" ]; then
      cp -p "$old_folder/$settings" "$prefix/$settings"
    fi
  done
  echo "install: your to-do list was copied from the build folder to $new_list" >&2
  echo "install: from now on it lives there; the copy in build/ is no longer used." >&2
fi
echo "install: Dolvane is installed in $prefix (start it with $bin_dir/dolvane)" >&2
