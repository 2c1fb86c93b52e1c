#!/usr/bin/env bash
# Checks formatting of every C++ file and which headers each layer and each folder of core may
# include (scripts/check-includes.sh), and runs clang-tidy on the program's sources (every finding
# is an error: .clang-tidy says so).
# Usage: scripts/lint.sh [--format-only | --tidy-only [FILE...]]   (FILE...: those sources alone)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  "" | --format-only | --tidy-only) ;;
  *) echo "usage: scripts/lint.sh [--format-only | --tidy-only [FILE...]]" >&2; exit 2 ;;
esac
tidy() {
  [ -f build/default/compile_commands.json ] || scripts/build.sh
  local sources=("$@")
  if [ ${#sources[@]} -eq 0 ]; then
    mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp')
  fi
  # One clang-tidy per file, two at a time (the build's two cores); xargs fails when any of them
  # does. clang-tidy prints a file's findings together when it is done with it, so the two do not
  # mix their lines; "N warnings generated." counts the silenced ones in Qt's headers and is noise.
  printf '%s\0' "${sources[@]}" |
    xargs -0 -n 1 -P 2 clang-tidy -p build/default --quiet 2> >(grep -v '^[0-9]* warnings\? generated\.$' >&2)
  echo "clang-tidy: ${#sources[@]} sources clean"
}
if [ "$mode" = --tidy-only ]; then
  shift
  tidy "$@"
  exit 0
fi
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"
# core is C++ and ICU only, layers include only downwards, and so do the folders within core.
scripts/check-includes.sh
if [ "$mode" = --format-only ]; then
  exit 0
fi
tidy
