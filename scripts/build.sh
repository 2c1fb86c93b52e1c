#!/usr/bin/env bash
# Configures and builds the default (release with debug info) preset: everything, or only the
# targets given (scripts/run.sh builds just what it installs).
# Usage: scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default ${1:+--target "$@"}
