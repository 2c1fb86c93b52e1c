#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Dolvane.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build ccache pkg-config git clang-format clang-tidy
  qt6-base-dev libicu-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick fonts-ipafont-gothic time
  qt6-translations-l10n desktop-file-utils libical-dev tzdata dbus-daemon
  fcitx5 fcitx5-mozc fcitx5-frontend-qt6
)

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
