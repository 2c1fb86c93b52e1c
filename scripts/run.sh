#!/usr/bin/env bash
# Sets up, builds what it installs (the tests and benchmarks are left to scripts/test.sh), installs
# for the current user (scripts/install.sh) and starts the installed Dolvane, so the list lives in
# the installed program folder and survives clean builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --program
scripts/build.sh --program
scripts/install.sh
exec scripts/start.sh "$@"
