#!/usr/bin/env bash
# Installs the built program for the current user, without root:
#   the program folder   ${DOLVANE_PREFIX:-~/.local/opt/dolvane} (programs, library, Help/, data/)
#   launchers            ~/.local/bin/dolvane, ~/.local/bin/dolvane-cli (symbolic links)
#   desktop entry        ~/.local/share/applications/dolvane.desktop
#   icon                 ~/.local/share/icons/hicolor/{scalable,48x48}/apps/dolvane.{svg,png}
# and lists all of it in the program folder's .dolvane-manifest, which is what scripts/uninstall.sh
# removes. The program folder must be new, empty or an earlier install: nothing is written into
# another folder. The user's lists (data/<user>/) and settings (data.ini,
# dolvane-state.ini) are never touched.
# A list left in the build folder by earlier versions is copied over once (DOLVANE_OLD_PROGRAM_FOLDER
# names another folder to take it from).
# Usage: scripts/install.sh   (after scripts/build.sh; scripts/run.sh does both; DOLVANE_BUILD_DIR
# names another build folder than build/default)
set -euo pipefail
source "$(dirname "$0")/install-paths.sh"
build=$(realpath -m -- "${DOLVANE_BUILD_DIR:-$(dirname "$0")/../build/default}")
cd "$(dirname "$0")/.."

refuse() {
  echo "install: $*: nothing was installed" >&2
  exit 1
}
# Everything is checked before the first write.
[ -x "$build/bin/dolvane" ] || refuse "build first (scripts/build.sh)"
if [ -e "$prefix" ] || [ -L "$prefix" ]; then
  [ -d "$prefix" ] && [ ! -L "$prefix" ] || refuse "$prefix is not a folder"
  if [ -n "$(ls -A -- "$prefix")" ] && ! is_program_folder; then
    refuse "$prefix is not empty and holds no Dolvane; name a new or empty folder in DOLVANE_PREFIX"
  fi
fi
for launcher in "$bin_dir/dolvane" "$bin_dir/dolvane-cli"; do
  if [ -e "$launcher" ] && [ ! -L "$launcher" ]; then
    refuse "$launcher is a file of another program"
  fi
done

# Folders that do not exist yet, outermost first: the ones uninstalling may remove again.
entries=()
note_new_folders() {
  local folder=$1 missing=()
  while [ ! -e "$folder" ] && [ "$folder" != / ]; do
    missing=("$folder" "${missing[@]}")
    folder=$(dirname -- "$folder")
  done
  for folder in "${missing[@]}"; do entries+=("d $folder"); done
}
note_new_folders "$prefix"
folders_before=$(find "$prefix" -type d 2>/dev/null || true)
if [ -d "$prefix" ] && [ ! -f "$manifest" ] && is_program_folder; then
  # An earlier version installed here without a manifest: its folders were made by installing.
  entries+=("d $prefix")
  folders_before=
fi

installed=$(mktemp)
trap 'rm -f "$installed"' EXIT
cmake --install "$build" --prefix "$prefix" --strip >"$installed"
while IFS= read -r line; do
  case $line in
    "-- Installing: "* | "-- Up-to-date: "*) path=${line#*: } ;;
    *) continue ;;
  esac
  path=${path//\/.\//\/}
  [ -d "$path" ] || entries+=("f $path")
  # The folders on the way that were not there before (data/ too, which later holds the lists).
  while [ "$path" != "$prefix" ] && [ "${#path}" -gt "${#prefix}" ]; do
    if [ -d "$path" ] && ! grep -Fxq -- "$path" <<<"$folders_before"; then entries+=("d $path"); fi
    path=$(dirname -- "$path")
  done
done <"$installed"

for folder in "$bin_dir" "$applications_dir" "$icons_dir/scalable/apps" "$icons_dir/48x48/apps"; do
  note_new_folders "$folder"
  mkdir -p "$folder"
done
ln -sfn "$prefix/dolvane" "$bin_dir/dolvane"
ln -sfn "$prefix/dolvane-cli" "$bin_dir/dolvane-cli"
install -m 644 packaging/dolvane.svg "$icons_dir/scalable/apps/dolvane.svg"
install -m 644 packaging/dolvane-48.png "$icons_dir/48x48/apps/dolvane.png"

# The template's Exec value is the program's path in double quotes, where ", ` and $ take a
# backslash (install-paths.sh refuses a backslash itself); then the whole value is a string, where
# a backslash is doubled, and % is doubled as it would start a field code.
exec_argument=$prefix/dolvane
for special in '"' '`' '$'; do
  exec_argument=${exec_argument//"$special"/\\$special}
done
exec_argument=${exec_argument//\\/\\\\}
exec_argument=${exec_argument//%/%%}
template=$(<packaging/dolvane.desktop.in)
printf '%s\n' "${template//@PROGRAM@/"$exec_argument"}" >"$applications_dir/dolvane.desktop"
chmod 644 "$applications_dir/dolvane.desktop"
entries+=("f $bin_dir/dolvane" "f $bin_dir/dolvane-cli" "f $icons_dir/scalable/apps/dolvane.svg"
  "f $icons_dir/48x48/apps/dolvane.png" "f $applications_dir/dolvane.desktop")
if command -v update-desktop-database >/dev/null 2>&1; then
  # The cache it leaves in a folder that had none is ours to remove again.
  [ -e "$applications_dir/mimeinfo.cache" ] || entries+=("f $applications_dir/mimeinfo.cache")
  update-desktop-database -q "$applications_dir" 2>/dev/null || true
fi

# The manifest of an earlier install keeps its entries (a folder it created stays ours).
{
  echo "$manifest_header"
  {
    [ -f "$manifest" ] && tail -n +2 "$manifest"
    printf '%s\n' "${entries[@]}"
  } | awk '!seen[$0]++'
} >"$manifest.new"
mv -f "$manifest.new" "$manifest"

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
