#!/usr/bin/env bash
# Builds everything (game, tools, tests, benchmarks) with warnings as errors in
# the two configurations a packager is most likely to use: Release with g++ and
# RelWithDebInfo with clang++, each in its own build folder. A new warning in
# any file of either fails.
#   usage: scripts/werror-builds.sh [--clang] [BUILD_PREFIX]   (default build-werror)
# --clang builds the clang++ one only: CI does, because the Windows build
# already builds everything with g++ 12 (mingw-w64) in Release, warnings as
# errors, and the normal build does with g++ in RelWithDebInfo.
set -euo pipefail
cd "$(dirname "$0")/.."
configs=("Release g++ gcc-release" "RelWithDebInfo clang++ clang-relwithdebinfo")
if [ "${1:-}" = --clang ]; then
    configs=("${configs[1]}")
    shift
fi
prefix=${1:-build-werror}
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
bash scripts/install-deps.sh --test

status=0
for config in "${configs[@]}"; do
    read -r type compiler name <<<"$config"
    build="$prefix-$name"
    echo "--- $type with $compiler in $build"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="$type" -DCMAKE_CXX_COMPILER="$compiler" \
        -DZUBA_WERROR=ON -DZUBA_TESTS=ON -DZUBA_BENCH=ON >/dev/null
    if cmake --build "$build" -j "$jobs" >"$build/build.log" 2>&1; then
        # The benchmarks are skipped quietly when Google Benchmark is missing.
        if [ -z "$(find "$build/bench" -maxdepth 1 -name '*_bench' -type f 2>/dev/null)" ]; then
            echo "FAILED: no benchmark was built in $build"
            status=1
        else
            echo "built without a warning"
        fi
    else
        grep -E 'error|warning' "$build/build.log" | head -n 40
        echo "FAILED: $type with $compiler (log: $build/build.log)"
        status=1
    fi
done
exit $status
