#!/usr/bin/env bash
# Checks formatting of every C++ file and which headers each layer and each folder of core may
# include (scripts/check-includes.sh), and runs clang-tidy on the program's sources.
# Usage: scripts/lint.sh [--format-only]
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"
# core is C++ and ICU only, layers include only downwards, and so do the folders within core.
scripts/check-includes.sh
if [ "${1:-}" = "--format-only" ]; then
  exit 0
fi
[ -f build/default/compile_commands.json ] || scripts/build.sh
mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp')
clang-tidy -p build/default --quiet --warnings-as-errors='*' "${sources[@]}"
echo "clang-tidy: ${#sources[@]} sources clean"
