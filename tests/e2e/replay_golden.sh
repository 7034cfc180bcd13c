#!/bin/bash
# Plays every replay script under tests/replay/ through the headless replay
# driver and compares its state trace with the committed golden trace
# (NAME.trace.gz). Scripts marked "# long:" run only with ZUBA_LONG_TESTS=1.
# ZUBA_UPDATE_GOLDEN=1 rewrites the golden traces instead of comparing.
# Arguments: game binary (unused), replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
replay=$2
dir=$3/tests/replay
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

status=0
for script in "$dir"/*.script; do
    name=$(basename "$script" .script)
    if grep -q '^# long:' "$script" && [ "${ZUBA_LONG_TESTS:-0}" != 1 ]; then
        echo "$name: not run (long; set ZUBA_LONG_TESTS=1)"
        continue
    fi
    every=$(sed -n 's/^# trace-every: *\([0-9][0-9]*\).*/\1/p' "$script" | head -n 1)
    if ! "$replay" "$script" --trace "$work/$name.trace" --trace-every "${every:-1}"; then
        echo "$name: the replay driver failed"
        status=1
        continue
    fi
    if [ "${ZUBA_UPDATE_GOLDEN:-0}" = 1 ]; then
        gzip -9 -n -c "$work/$name.trace" > "$dir/$name.trace.gz"
        echo "$name: golden trace written"
        continue
    fi
    if ! gzip -dc "$dir/$name.trace.gz" > "$work/$name.golden" 2>/dev/null; then
        echo "$name: no readable golden trace $name.trace.gz"
        status=1
    elif cmp -s "$work/$name.golden" "$work/$name.trace"; then
        echo "$name: same as the golden trace ($(wc -l < "$work/$name.trace") lines)"
    else
        echo "$name: differs from the golden trace; first difference:"
        diff "$work/$name.golden" "$work/$name.trace" | head -n 4 | cut -c 1-400
        status=1
    fi
done
exit $status
