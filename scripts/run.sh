#!/usr/bin/env bash
# Sets up, builds and starts Dolvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/default/bin/dolvane "$@"
fi
echo "No display found: starting Dolvane on a virtual X server (xvfb-run)." >&2
exec xvfb-run -a -s '-screen 0 1280x900x24' build/default/bin/dolvane "$@"
