#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Dolvane (with --program:
# only to build and run it).
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail

# What building, installing and running the program needs; scripts/run.sh asks for these alone.
program_packages=(
  cmake g++ ninja-build ccache pkg-config git
  qt6-base-dev libicu-dev libical-dev fonts-ipafont-gothic
  qt6-translations-l10n desktop-file-utils tzdata
  libcurl4-openssl-dev libxml2-dev libsecret-1-dev libsqlite3-dev
)
# What the tests, the benchmarks and the lint add (scripts/test.sh).
test_packages=(
  clang-format clang-tidy libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick time dbus-daemon
  fcitx5 fcitx5-mozc fcitx5-frontend-qt6 radicale
)
packages=("${program_packages[@]}")
if [ "${1:-}" != --program ]; then
  packages+=("${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "setup: these packages are missing and this is not root: ${missing[*]}" >&2
    exit 1
  fi
fi
# Nothing may stop to ask (tzdata asks for a time zone when it comes in): the setting goes through
# env, because sudo drops the caller's environment.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
