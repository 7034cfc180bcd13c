#!/usr/bin/env bash
# Installs what building, playing and testing ZUBA-TRILO needs on Debian 12.
# Quiet and quick when everything is already there.
#   scripts/install-deps.sh [--test] [--package] | --web | --web-test | --windows | --windows-test
# --test adds what the tests and CI's checks use; --package what building
# and checking the Debian package uses; --web and --web-test (alone) what
# the browser build and its tests use; --windows and --windows-test (alone)
# what the Windows cross-build and its tests under Wine use.
set -euo pipefail

# nlohmann-json: the soak checker, built with the game, reads traces with it.
# stb: the screenshots' PNG writer, a header.
packages=(build-essential cmake pkg-config libsdl1.2-compat-dev nlohmann-json3-dev libstb-dev)
for set in "$@"; do
  case "$set" in
    --test)
      # The tests also drive the real binary in an X server (closing its window
      # through Xlib, switching it to fullscreen under openbox), check sound
      # files, the desktop entry and the manual page; CI also fuzzes with
      # clang's libFuzzer and runs cppcheck and clang-tidy.
      # The test-support library unpacks the golden frames with zlib.
      packages+=(libgtest-dev libbenchmark-dev zlib1g-dev xvfb xdotool imagemagick sox x11-utils libx11-dev
                 openbox
                 desktop-file-utils man-db groff-base
                 clang libclang-rt-14-dev cppcheck clang-tidy) ;;
    --package)
      # dpkg-buildpackage with debhelper, the unit tests it runs, and the
      # checks of the result: lintian, the AppStream and desktop validators.
      packages+=(dpkg-dev debhelper fakeroot libgtest-dev zlib1g-dev lintian appstream desktop-file-utils) ;;
    # The browser build (`make web`) alone: emscripten with its own SDL, the
    # acorn module its optimiser loads, and Python's web server for
    # `make serve-web`.
    --web) packages=(cmake emscripten node-acorn python3 libstb-dev) ;;
    # Its tests (`make test-web`): Debian's chromium, and Node.js with npm for
    # puppeteer-core (a Node.js already there, from Debian or not, is kept).
    --web-test)
      packages=(chromium)
      command -v node >/dev/null || packages+=(nodejs)
      command -v npm >/dev/null || packages+=(npm)
      ;;
    # The Windows cross-build (`make windows`): mingw-w64 for SDL and the
    # game, windres (binutils-mingw-w64), NSIS for the installer; for its
    # unit tests GoogleTest's sources and zlib for Windows.
    --windows) packages=(cmake g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-x86-64 nsis
                         googletest libz-mingw-w64-dev) ;;
    # Its tests (`make test-windows`): Wine on Xvfb with openbox, the X tools
    # and ImageMagick of the end-to-end tests.
    --windows-test) packages=(wine wine64 xvfb xdotool x11-utils imagemagick openbox) ;;
    *)
      echo "install-deps: unknown option $set (use --test, --package, --web, --web-test, --windows, --windows-test)" >&2
      exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# A fresh machine may still be busy with its first update: apt then waits for
# the package manager's lock (up to 10 minutes) instead of failing.
apt=(apt-get -o DPkg::Lock::Timeout=600)
echo "Installing: ${missing[*]}"
echo "(if another install or update is running, this waits for it, up to 10 minutes)"
$sudo "${apt[@]}" update -qq
DEBIAN_FRONTEND=noninteractive $sudo "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
