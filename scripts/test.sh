#!/usr/bin/env bash
# Sets up, builds and runs every test: the suites of the default build, clang-tidy over the
# program's sources, and the suites again built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Every stage runs even when one before it failed; the script fails when any of them did.
# Usage: scripts/test.sh [--quick]
#   --quick  the default build's suites alone (a developer's edit-and-test loop; CI runs all)
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
case "${1:-}" in
  "") ;;
  --quick) quick=true ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac
scripts/setup.sh
scripts/build.sh
# The tests name files and windows in Japanese, which needs a UTF-8 locale; an account without one
# (LANG unset in a container or chroot is POSIX) runs them under C.UTF-8, which glibc always has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

failed=()
stage() {
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  if "$@"; then
    echo "=== $name: passed in $((SECONDS - start)) s"
  else
    echo "=== $name: FAILED after $((SECONDS - start)) s"
    failed+=("$name")
  fi
}

# The sanitizers write their reports into files (the preset says where) rather than into the
# output of whichever process they caught, because a test that starts the program as a process
# need not look at its exit code or its error output. Any report fails the stage.
sanitized_suites() {
  local reports=build/debug-asan/sanitizer-reports
  cmake --preset debug-asan >/dev/null || return
  cmake --build --preset debug-asan || return
  find "$reports" -mindepth 1 -delete || return
  local status=0
  ctest --preset debug-asan || status=$?
  if [ -n "$(ls -A "$reports")" ]; then
    echo "sanitizer reports in $reports:"
    tail -n +1 "$reports"/*
    status=1
  fi
  return $status
}

stage "tests (default build)" ctest --preset default
if ! $quick; then
  stage "clang-tidy" scripts/lint.sh --tidy-only
  stage "tests (AddressSanitizer and UndefinedBehaviorSanitizer)" sanitized_suites
fi

if [ ${#failed[@]} -ne 0 ]; then
  printf 'failed: %s\n' "${failed[@]}" >&2
  exit 1
fi
