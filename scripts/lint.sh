#!/usr/bin/env bash
# Checks formatting of every C++ file and runs clang-tidy on the program's sources.
# Usage: scripts/lint.sh [--format-only]
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"
if [ "${1:-}" = "--format-only" ]; then
  exit 0
fi
[ -f build/default/compile_commands.json ] || scripts/build.sh
mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp')
clang-tidy -p build/default --quiet --warnings-as-errors='*' "${sources[@]}"
echo "clang-tidy: ${#sources[@]} sources clean"
