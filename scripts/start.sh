#!/usr/bin/env bash
# Starts the installed Dolvane on this session's screen. Without one (a console, ssh without X
# forwarding, a container) it says so and how to start it later, instead of waiting on a window
# nobody can see.
set -euo pipefail
source "$(dirname "$0")/install-paths.sh"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$prefix/dolvane" "$@"
fi
cat >&2 <<MESSAGE
Dolvane is installed, but no screen is attached to this session (neither DISPLAY nor
WAYLAND_DISPLAY is set), so no window was started.
Start it later on the machine's desktop with
  $bin_dir/dolvane
or from the application menu ("Dolvane"); dolvane-cli works without a screen. From another
machine, log in with X forwarding (ssh -X) to see the window here. A virtual X server (xvfb-run)
shows the window to nobody: it is only for the tests.
MESSAGE
