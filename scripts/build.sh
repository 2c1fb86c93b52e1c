#!/usr/bin/env bash
# Configures and builds the default (release with debug info) preset: everything, or with
# --program only what scripts/install.sh installs (no tests or benchmarks, so their packages are
# not needed). The switches are given every time, because the build folder remembers them.
# Usage: scripts/build.sh [--program]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --program ]; then
  cmake --preset default -DDOLVANE_BUILD_TESTS=OFF -DDOLVANE_BUILD_BENCH=OFF >/dev/null
  cmake --build --preset default --target dolvane dolvane-cli CharacterConversion
else
  cmake --preset default -DDOLVANE_BUILD_TESTS=ON -DDOLVANE_BUILD_BENCH=ON >/dev/null
  cmake --build --preset default
fi
