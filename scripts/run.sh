#!/usr/bin/env bash
# Sets up, builds, installs for the current user (scripts/install.sh) and starts the installed
# Dolvane, so the list lives in the installed program folder and survives clean builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
scripts/install.sh
source scripts/install-paths.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$prefix/dolvane" "$@"
fi
echo "No display found: starting Dolvane on a virtual X server (xvfb-run)." >&2
exec xvfb-run -a -s '-screen 0 1280x900x24' "$prefix/dolvane" "$@"
