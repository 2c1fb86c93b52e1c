#!/usr/bin/env bash
# Checks formatting of every C++ file and the headers core may include, and runs clang-tidy on the
# program's sources (every finding is an error: .clang-tidy says so).
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
# core is C++ and ICU only: no Qt and no operating-system headers (those belong in platform).
if grep -nE '^#include <(Q[A-Za-z]*|sys/[^>]*|unistd\.h|fcntl\.h|dirent\.h|signal\.h|windows\.h|pthread\.h)>' \
    $(git ls-files -co --exclude-standard -- 'src/core/*.cpp' 'src/core/*.h'); then
  echo "core includes a Qt or operating-system header (above)" >&2
  exit 1
fi
echo "core: no Qt or operating-system headers"
# Layers include only downwards: core sees none of the layers above it, platform none of the
# widgets or the companion.
refuse_includes() {
  local folder=$1 pattern=$2
  if grep -nE "^#include \"($pattern)/" $(git ls-files -co --exclude-standard -- "$folder/*.cpp" "$folder/*.h"); then
    echo "$folder includes from a layer above it (above)" >&2
    exit 1
  fi
}
refuse_includes src/core 'platform|ui|cli|charconv'
refuse_includes src/platform 'ui|cli'
echo "layers: core and platform include nothing from above"
if [ "$mode" = --format-only ]; then
  exit 0
fi
tidy
