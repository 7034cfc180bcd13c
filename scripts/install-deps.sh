#!/usr/bin/env bash
# Installs what building, playing and testing ZUBA-TRILO needs on Debian 12.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl1.2-compat-dev)
if [ "${1:-}" = "--test" ]; then
  # The tests also drive the real binary in an X server (closing its window
  # through Xlib, switching it to fullscreen under openbox), check sound
  # files, the desktop entry and the manual page;
  # CI also fuzzes with clang's libFuzzer and runs cppcheck and clang-tidy.
  packages+=(libgtest-dev libbenchmark-dev xvfb xdotool imagemagick sox x11-utils libx11-dev
             openbox
             desktop-file-utils man-db groff-base
             clang libclang-rt-14-dev cppcheck clang-tidy)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
