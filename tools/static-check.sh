#!/usr/bin/env bash
# Static analysis of the game, its tools and the fuzz targets: cppcheck and
# clang-tidy (checks in .clang-tidy), both with the compile flags CMake gives
# each file. Any finding fails the check.
#   usage: tools/static-check.sh [BUILD_DIR]   (default build-check)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
dirs=(app video input audio game tools fuzz)
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2

# The compile database comes from a configure-only run; clang and the fuzz
# option put the fuzz targets into it as well.
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DZUBA_FUZZ=ON -DZUBA_TESTS=OFF \
  -DZUBA_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

status=0
filters=()
for d in "${dirs[@]}"; do filters+=("--file-filter=$d/*"); done
echo "cppcheck $(cppcheck --version | sed 's/^Cppcheck //') over ${dirs[*]}"
if cppcheck --project="$build/compile_commands.json" "${filters[@]}" --std=c++20 \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppressions-list=tools/cppcheck-suppressions.txt --error-exitcode=1 -q -j "$jobs"; then
  echo "cppcheck: no findings"
else
  echo "cppcheck: findings above"
  status=1
fi

# Sources of the listed directories, as the compile database names them.
mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
  grep -E "^$(pwd)/($(IFS='|'; echo "${dirs[*]}"))/[^/]*\.cpp$" | sort -u)
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
