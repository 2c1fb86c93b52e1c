#!/usr/bin/env bash
# Configures and builds the default (release with debug info) preset.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default
