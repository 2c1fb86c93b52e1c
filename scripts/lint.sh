#!/usr/bin/env bash
# Checks formatting of every C++ file and the headers core may include, and runs clang-tidy on the program's sources.
# Usage: scripts/lint.sh [--format-only]
set -euo pipefail
cd "$(dirname "$0")/.."
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
if [ "${1:-}" = "--format-only" ]; then
  exit 0
fi
[ -f build/default/compile_commands.json ] || scripts/build.sh
mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp')
clang-tidy -p build/default --quiet --warnings-as-errors='*' "${sources[@]}"
echo "clang-tidy: ${#sources[@]} sources clean"
