#!/usr/bin/env bash
# Cross-builds the Windows SDL stack the game ships with: SDL 2.26.5 (with its
# CMake) and the SDL 1.2 compatibility layer sdl12-compat 1.2.60 over it, from
# their source tarballs, with Debian's mingw-w64.
#   scripts/build-windows-deps.sh [VENDOR_DIR]
# VENDOR_DIR (or $ZUBA_WINDOWS_VENDOR; default ../shared/vendor beside the
# clone) holds the two tarballs; each is checked against its SHA-256 first.
# The result is kept outside the clone, in
#   ${XDG_CACHE_HOME:-~/.cache}/zuba-trilo/windows-deps/<key>
# where the key comes from the two sums and this recipe's revision, so a
# second run, another clone or CI's fresh clone reuse it. The last line
# printed on stdout is that prefix; progress goes to stderr.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

vendor=${1:-${ZUBA_WINDOWS_VENDOR:-$root/../shared/vendor}}
sdl2_file=libsdl2_2.26.5+dfsg.orig.tar.gz
sdl2_sum=b3f2c822151804125d08db94c65852f711c2e5df2145a59da120748dc32eb9c3
compat_file=sdl12-compat-1.2.60.tar.gz
compat_sum=81ddb62f031d39b92f2eac9ad6ae40c3f64afca788bc91e06ff4dc42d0724a27
# Raise when the way the libraries are built changes, so old caches are not used.
recipe=1

need() {
  cat >&2 <<MSG
build-windows-deps: $1
The Windows build needs these two source tarballs in one directory
(ZUBA_WINDOWS_VENDOR=DIR, or \`make windows WINDOWS_VENDOR=DIR\`):
  $sdl2_file  sha256 $sdl2_sum
      SDL 2.26.5: Debian 12's source package libsdl2 (its .orig tarball)
  $compat_file  sha256 $compat_sum
      sdl12-compat 1.2.60: the release-1.2.60 source of the SDL 1.2 compatibility layer
MSG
  exit 1
}
bad=()
for pair in "$sdl2_file:$sdl2_sum" "$compat_file:$compat_sum"; do
  file=${pair%%:*} sum=${pair##*:}
  if [ ! -f "$vendor/$file" ]; then
    bad+=("$file is missing")
  elif [ "$(sha256sum "$vendor/$file" | cut -d' ' -f1)" != "$sum" ]; then
    bad+=("$file has sha256 $(sha256sum "$vendor/$file" | cut -d' ' -f1), not $sum")
  fi
done
[ ${#bad[@]} -eq 0 ] || need "in $vendor:$(printf '\n  %s' "${bad[@]}")"

cache=${XDG_CACHE_HOME:-$HOME/.cache}/zuba-trilo/windows-deps
prefix=$cache/${sdl2_sum:0:16}-${compat_sum:0:16}-r$recipe
mkdir -p "$cache"
# One build at a time; a build that stopped half way (no stamp) starts again.
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "build-windows-deps: using $prefix" >&2
  echo "$prefix"
  exit 0
fi
rm -rf "$prefix"
work=$(mktemp -d "$cache/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$work/build.log
jobs=${JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
step() {
  echo "build-windows-deps: $1" >&2
  shift
  "$@" >>"$log" 2>&1 || { tail -n 40 "$log" >&2; echo "build-windows-deps: failed: $*" >&2; exit 1; }
}

start=$(date +%s)
step "unpacking" tar -xzf "$vendor/$sdl2_file" -C "$work"
step "unpacking" tar -xzf "$vendor/$compat_file" -C "$work"
step "configuring SDL 2.26.5" cmake -S "$work/SDL2-2.26.5" -B "$work/sdl2" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DZUBA_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
step "building SDL 2.26.5 (a few minutes)" cmake --build "$work/sdl2" -j "$jobs"
step "installing SDL 2.26.5" cmake --install "$work/sdl2"
# NO_STDIO_REDIRECT: the Windows main of SDL 1.2 would otherwise send the
# game's output to stdout.txt and stderr.txt beside the exe, and --help and
# the errors would never reach the player's console.
step "configuring sdl12-compat 1.2.60" cmake -S "$work/sdl12-compat-1.2.60" -B "$work/compat" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZUBA_WINDOWS_DEPS="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL2_INCLUDE_DIR="$prefix/include/SDL2" -DSDL12TESTS=OFF \
  -DCMAKE_C_FLAGS=-DNO_STDIO_REDIRECT
step "building sdl12-compat 1.2.60" cmake --build "$work/compat" -j "$jobs"
step "installing sdl12-compat 1.2.60" cmake --install "$work/compat"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix/bin/SDL2.dll" "$prefix/bin/SDL.dll"
# The licenses travel with the DLLs in the downloads.
mkdir -p "$prefix/share/licenses"
cp "$work/SDL2-2.26.5/LICENSE.txt" "$prefix/share/licenses/SDL2-LICENSE.txt"
cp "$work/sdl12-compat-1.2.60/LICENSE.txt" "$prefix/share/licenses/sdl12-compat-LICENSE.txt"
touch "$prefix/.complete"
echo "build-windows-deps: built $prefix in $(($(date +%s) - start)) s" >&2
echo "$prefix"
