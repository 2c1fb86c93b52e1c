#!/usr/bin/env bash
# Removes what scripts/install.sh installed, as listed in the program folder's manifest: the
# program files, the launchers, the desktop entry, the icon and the folders install created once
# they are empty. Nothing else goes: a file of the user's in Help/ or data/ stays, and so does its
# folder. The to-do lists and the settings stay too, unless --remove-data is given; that removes
# the user's own list (with its lock and temporary files), data.ini and dolvane-state.ini, is asked
# again on a terminal and is refused without one unless --yes is given too.
# Usage: scripts/uninstall.sh [--remove-data [--yes]]
set -euo pipefail
source "$(dirname "$0")/install-paths.sh"
cd "$(dirname "$0")/.."

remove_data=false yes=false
for argument in "$@"; do
  case $argument in
    --remove-data) remove_data=true ;;
    --yes) yes=true ;;
    *) echo "uninstall: unknown option $argument (use --remove-data [--yes])" >&2; exit 2 ;;
  esac
done
if ! is_program_folder; then
  echo "uninstall: $prefix is no Dolvane program folder (it has no $(basename "$manifest")): nothing removed" >&2
  exit 1
fi

entries=()
if [ -f "$manifest" ]; then
  mapfile -t entries < <(tail -n +2 "$manifest")
else
  # Installed by a version that wrote no manifest: its files are the ones it always installed.
  entries=("f $prefix/dolvane" "f $prefix/dolvane-cli" "f $prefix/libCharacterConversion.so"
    "f $prefix/data/NationalHoliday.txt" "f $bin_dir/dolvane" "f $bin_dir/dolvane-cli"
    "f $applications_dir/dolvane.desktop" "f $icons_dir/scalable/apps/dolvane.svg"
    "f $icons_dir/48x48/apps/dolvane.png" "d $prefix/Help/images" "d $prefix/Help")
  while IFS= read -r file; do entries+=("f $prefix/Help/${file#help/}"); done < <(find help -type f)
fi

if $remove_data && ! $yes; then
  if [ ! -t 0 ]; then
    echo "uninstall: not removing your list and data.ini in $prefix without a terminal to confirm (add --yes)" >&2
    exit 1
  fi
  read -r -p "Your to-do list in $prefix/data and data.ini will be deleted. Type yes to delete: " answer
  if [ "$answer" != yes ]; then
    echo "uninstall: nothing removed; your list is kept in $prefix/data" >&2
    exit 0
  fi
fi

for entry in "${entries[@]}"; do
  path=${entry#? }
  [ "${entry:0:1}" = f ] || continue
  if [ -L "$path" ]; then
    # A launcher replaced by a link of another program stays.
    [[ "$(readlink -- "$path")" == "$prefix/"* ]] && rm -f -- "$path"
  elif [ -f "$path" ]; then
    rm -f -- "$path"
  fi
done
if $remove_data; then
  user=$(id -un)
  rm -f -- "$prefix/data/$user/todolist.txt" "$prefix/data/$user/todolist.txt.lock" \
    "$prefix/data/$user/todolist.txt.Dolvane.lock" \
    "$prefix/data/$user/todolist.txt.tmp-"* "$prefix/data.ini" "$prefix/data.ini.tmp-"* \
    "$prefix/dolvane-state.ini" "$prefix/dolvane-state.ini.tmp-"*
  rmdir -- "$prefix/data/$user" "$prefix/data" 2>/dev/null || true
fi
# Folders install created, innermost first, where nothing else is left in them.
remove_created_folders() {
  local entry folder
  for entry in "${entries[@]}"; do
    if [ "${entry:0:1}" = d ]; then printf '%s %s\n' "${#entry}" "${entry#? }"; fi
  done | sort -rn | cut -d' ' -f2- | while IFS= read -r folder; do
    rmdir -- "$folder" 2>/dev/null || true
  done
}
remove_created_folders
if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$applications_dir" ]; then
  update-desktop-database -q "$applications_dir" 2>/dev/null || true
fi

# The manifest goes last, with the folder when nothing else is in it. Otherwise it stays, keeping
# the folders install created, so a later --remove-data still knows this folder.
if [ -z "$(ls -A -- "$prefix" | grep -vFx "$(basename "$manifest")")" ]; then
  rm -f -- "$manifest"
  rmdir -- "$prefix" 2>/dev/null || true
  remove_created_folders
  echo "uninstall: Dolvane is removed" >&2
else
  {
    echo "$manifest_header"
    for entry in "${entries[@]}"; do
      if [ -e "${entry#? }" ] || [ -L "${entry#? }" ]; then printf '%s\n' "$entry"; fi
    done
  } >"$manifest.new"
  mv -f "$manifest.new" "$manifest"
  if $remove_data; then
    echo "uninstall: Dolvane and your data are removed; $prefix keeps files that are not Dolvane's" >&2
  else
    echo "uninstall: Dolvane is removed; your lists and settings are kept in $prefix" >&2
  fi
fi
