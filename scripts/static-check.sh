#!/usr/bin/env bash
# Static analysis of the game, its tools and the fuzz targets: cppcheck and
# clang-tidy (checks in .clang-tidy), both with the compile flags CMake gives
# each file. Any finding fails the check.
#   usage: scripts/static-check.sh [BUILD_DIR]   (default build-check)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
dirs=(app session video input audio game replay platform tools fuzz)
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2

# The compile database comes from a configure-only run; clang and the fuzz
# option put the fuzz targets into it as well.
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DZUBA_FUZZ=ON -DZUBA_TESTS=OFF \
  -DZUBA_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

# Sources of the listed directories, as the compile database names them
# (generated sources, such as the embedded assets, are left out).
mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
  grep -E "^$(pwd)/($(IFS='|'; echo "${dirs[*]}"))/[^/]*\.cpp$" | sort -u)

status=0
# cppcheck is given the files and the game's include paths itself: the
# compile database also names generated files that a configure-only run has
# not written yet.
echo "cppcheck $(cppcheck --version | sed 's/^Cppcheck //') over ${#files[@]} files in ${dirs[*]}"
# shellcheck disable=SC2046  # pkg-config prints several flags
if cppcheck "${files[@]}" -I . $(pkg-config --cflags-only-I sdl) -D_GNU_SOURCE=1 -D_REENTRANT \
    --std=c++20 --language=c++ --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=scripts/cppcheck-suppressions.txt --error-exitcode=1 -q -j "$jobs"; then
  echo "cppcheck: no findings"
else
  echo "cppcheck: findings above"
  status=1
fi

echo "clang-tidy $(clang-tidy --version | sed -n 's/.*LLVM version //p') over ${#files[@]} files"
log="$build/clang-tidy.log"
if printf '%s\n' "${files[@]}" | xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet >"$log" 2>&1; then
  echo "clang-tidy: no findings"
else
  grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated|^Suppressed [0-9]+ warnings|^Use -header-filter' "$log" || true
  echo "clang-tidy: findings above"
  status=1
fi
exit $status
