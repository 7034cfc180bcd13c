#!/usr/bin/env bash
# ThreadSanitizer run of the mixer: builds the game library and the mixer's
# tests with -fsanitize=thread in their own build directory, then runs them
# with SDL's real audio thread (the disk driver for the threads test, the
# dummy driver for the others). Any data race fails the run.
#
#   bash scripts/tsan-check.sh [BUILD_DIR]     (default build-tsan)
#   ZUBA_MIXER_STRESS_SECONDS=5 bash scripts/tsan-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-tsan}
jobs=$(($(nproc) < 2 ? $(nproc) : 2))

# GCC 12 warns wrongly of a buffer overflow in std::vector::insert when the
# thread instrumentation is on (tests/sounds_test.cpp); only that warning is off.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUBA_SANITIZE=OFF -DZUBA_BENCH=OFF -DZUBA_WERROR=ON -DZUBA_THREAD_STRESS=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer -Wno-stringop-overflow" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
tests=(test_mixer_threads test_mixer test_sounds)
cmake --build "$build" -j "$jobs" --target "${tests[@]}"

export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ZUBA_MIXER_STRESS_SECONDS=${ZUBA_MIXER_STRESS_SECONDS:-3}
# ThreadSanitizer wants the address space laid out as it expects; some kernels
# randomise it too widely, and running without randomisation avoids that.
run=()
if setarch "$(uname -m)" -R true 2>/dev/null; then run=(setarch "$(uname -m)" -R); fi

status=0
for t in "${tests[@]}"; do
    echo "=== $t (ThreadSanitizer)"
    if "${run[@]}" "$build/tests/$t" 2>&1 | tee "$build/$t.tsan.log" | grep -E '^\[  (PASSED|FAILED|SKIPPED) |voice changes|WARNING: ThreadSanitizer'; then :; fi
    if grep -q 'WARNING: ThreadSanitizer' "$build/$t.tsan.log"; then
        echo "tsan-check: $t: data race, see $build/$t.tsan.log" >&2
        status=1
    elif ! grep -q '^\[  PASSED  \]' "$build/$t.tsan.log" || grep -q '^\[  FAILED  \]' "$build/$t.tsan.log"; then
        echo "tsan-check: $t failed, see $build/$t.tsan.log" >&2
        status=1
    fi
done
[ $status = 0 ] && echo "tsan-check: no data race reported"
exit $status
