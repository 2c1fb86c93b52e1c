#!/usr/bin/env bash
# Removes what scripts/install.sh installed: the program files, the launchers, the desktop entry
# and the icon. The to-do lists (data/) and the settings (data.ini, dolvane-state.ini) stay, unless --remove-data is
# given; that is asked again on a terminal, and refused without one unless --yes is given too.
# Usage: scripts/uninstall.sh [--remove-data [--yes]]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-paths.sh

remove_data=false yes=false
for argument in "$@"; do
  case $argument in
    --remove-data) remove_data=true ;;
    --yes) yes=true ;;
    *) echo "uninstall: unknown option $argument (use --remove-data [--yes])" >&2; exit 2 ;;
  esac
done

rm -f "$prefix/dolvane" "$prefix/dolvane-cli" "$prefix/libCharacterConversion.so" "$prefix/data/NationalHoliday.txt"
rm -rf "$prefix/Help"
for launcher in "$bin_dir/dolvane" "$bin_dir/dolvane-cli"; do
  # Only our own links: a file of the same name that is not a link to the program folder stays.
  if [ -L "$launcher" ] && [[ "$(readlink "$launcher")" == "$prefix/"* ]]; then
    rm -f "$launcher"
  fi
done
rm -f "$applications_dir/dolvane.desktop" "$icons_dir/scalable/apps/dolvane.svg" "$icons_dir/48x48/apps/dolvane.png"

if $remove_data; then
  if ! $yes; then
    if [ ! -t 0 ]; then
      echo "uninstall: not removing $prefix/data and data.ini without a terminal to confirm (add --yes)" >&2
      exit 1
    fi
    read -r -p "$prefix/data (your to-do lists) and data.ini will be deleted. Type yes to delete: " answer
    [ "$answer" = yes ] || { echo "uninstall: your lists were kept in $prefix/data" >&2; exit 0; }
  fi
  rm -rf "$prefix/data" "$prefix/data.ini" "$prefix/dolvane-state.ini"
  rmdir "$prefix" 2>/dev/null || true
  echo "uninstall: Dolvane and its data are removed" >&2
else
  rmdir "$prefix/data" "$prefix" 2>/dev/null || true
  [ -d "$prefix" ] && echo "uninstall: your lists and settings are kept in $prefix" >&2
  echo "uninstall: Dolvane is removed" >&2
fi
