#!/usr/bin/env bash
# xvfb-run whose X server cannot outlive it. xvfb-run stops its server only on its own way out;
# when it is killed, or its clean-up fails first, the server would stay behind. Here the server
# is started through setpriv with a parent-death signal, so it ends whenever xvfb-run does.
# Usage: xvfb-run.sh XVFB_RUN_OPTIONS... COMMAND...
set -euo pipefail
server=$(command -v Xvfb)
shim=$(mktemp -d)
trap 'rm -rf "$shim"' EXIT
printf '#!/bin/sh\nexec setpriv --pdeathsig KILL %q "$@"\n' "$server" >"$shim/Xvfb"
chmod +x "$shim/Xvfb"
PATH=$shim:$PATH xvfb-run "$@"
