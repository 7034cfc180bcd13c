#!/usr/bin/env bash
# Makes the two Windows downloads from a cross-build (`make windows` runs it):
#   BUILD/zuba-trilo-<version>-win64.zip        the exes, SDL.dll, SDL2.dll,
#                                               the licenses and README.txt
#   BUILD/zuba-trilo-<version>-win64-setup.exe  the NSIS installer of the same files
#   BUILD/SHA256SUMS                            the two downloads' SHA-256 sums,
#                                               published beside them
#   scripts/package-windows.sh BUILD SDL_PREFIX
set -euo pipefail
build=$(cd "$1" && pwd)
prefix=$2
src=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package-windows: no project version in $build/CMakeCache.txt" >&2; exit 1; }
name=zuba-trilo-$version-win64
stage=$build/$name
rm -rf "$stage"
mkdir -p "$stage"

cp "$build/zuba-trilo.exe" "$build/zuba-trilo-replay.exe" "$prefix/bin/SDL.dll" "$prefix/bin/SDL2.dll" "$stage/"
x86_64-w64-mingw32-strip --strip-unneeded "$stage/zuba-trilo.exe" "$stage/zuba-trilo-replay.exe"
# Text files with Windows line ends, for Notepad.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
crlf "$src/LICENSE" "$stage/LICENSE.txt"
crlf "$prefix/share/licenses/SDL2-LICENSE.txt" "$stage/SDL2-LICENSE.txt"
crlf "$prefix/share/licenses/sdl12-compat-LICENSE.txt" "$stage/sdl12-compat-LICENSE.txt"
sed "s/@VERSION@/$version/" "$src/packaging/windows/README.txt.in" >"$build/README.txt"
crlf "$build/README.txt" "$stage/README.txt"

# Only the game's own DLLs may be needed besides Windows' own.
for exe in "$stage"/*.exe; do
  extra=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^(SDL|SDL2|kernel32|user32|gdi32|msvcrt|advapi32|shell32|psapi|ole32|api-ms-win-.*)\.dll$' || true)
  [ -z "$extra" ] || { echo "package-windows: $(basename "$exe") needs $extra, which would not ship" >&2; exit 1; }
done

rm -f "$build/$name.zip"
(cd "$build" && cmake -E tar cf "$name.zip" --format=zip -- "$name")
size_kb=$(du -sk "$stage" | cut -f1)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$src/packaging/icons/zuba-trilo.ico" \
  -DSIZE_KB="$size_kb" -DOUTFILE="$build/$name-setup.exe" "$src/packaging/windows/installer.nsi" >&2
# The program is not signed: the sums let a player check that a download is
# the one published (README.txt says how, with Windows' own tools).
(cd "$build" && sha256sum "$name.zip" "$name-setup.exe" >SHA256SUMS)
for f in "$build/$name.zip" "$build/$name-setup.exe"; do
  printf '%-44s %8d bytes\n' "$f" "$(stat -c %s "$f")"
done
echo "$build/SHA256SUMS"
