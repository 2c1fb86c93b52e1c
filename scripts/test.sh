#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# The tests name files and windows in Japanese, which needs a UTF-8 locale; an account without one
# (LANG unset in a container or chroot is POSIX) runs them under C.UTF-8, which glibc always has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi
ctest --preset default
