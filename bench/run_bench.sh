#!/bin/bash
# `make bench`: the timed demo on the committed scripts, after (changed
# rectangles) and before (the whole window after every drain), the micro
# benchmarks, and one short table of it all. Figures only: nothing here passes
# or fails on time.
#
#   bash bench/run_bench.sh BUILD_DIR [SOURCE_DIR]
#
# BEFORE_PASSES=N cuts each script to its first N passes for the "before"
# runs (default 10000; 0 plays them whole). A whole-window update costs a few
# milliseconds a pass, and the waiting game alone is 322 000 passes: whole, the
# "before" runs take the better part of an hour. Cut, they measure the same
# present over fewer passes; the aggressive game's busiest stretch comes late
# and is only in a whole run.
set -eu
build=${1:?usage: run_bench.sh BUILD_DIR [SOURCE_DIR]}
src=${2:-.}
before_passes=${BEFORE_PASSES:-10000}
scripts="idle_game aggressive_game soak"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The first N passes of a script (comments kept, the line that crosses N cut).
cut_script() {
    awk -v limit="$2" '
        /^[ \t]*(#|$)/ { print; next }
        { if (done >= limit) exit
          n = $1; if (done + n > limit) n = limit - done
          $1 = n; print; done += n }' "$1"
}

baseline=$("$build/bench/sdl_window_baseline" | awk '{print $4}')

for s in $scripts; do
    echo "timed demo: $s (changed rectangles)" >&2
    "$build/zuba-trilo-replay" "$src/bench/$s.script" --timedemo >"$out/$s.after"
    script="$src/bench/$s.script"
    if [ "$before_passes" != 0 ]; then
        cut_script "$script" "$before_passes" >"$out/$s.cut.script"
        script="$out/$s.cut.script"
    fi
    echo "timed demo: $s (whole window)" >&2
    "$build/zuba-trilo-replay" "$script" --timedemo --whole-window >"$out/$s.before"
done

for b in formation_bench presenter_bench mixer_bench text_bench; do
    echo "micro benchmarks: $b" >&2
    "$build/bench/$b" --benchmark_format=csv \
        --benchmark_filter='FormationSteps70|GameFrame$|DrainFullQueue|MixerFill|DrawTextFullLine$' \
        2>/dev/null >"$out/$b.csv" || true
done

# One row per timed-demo run.
row() {
    awk -v name="$1" -v mode="$2" -v base="$baseline" '
        /^game passes:/ { passes = $3 }
        /^game passes per second:/ { rate = $5 }
        # "simulation ms: median M, p95 P, p99 Q, max X", shown in microseconds
        function us(line) { gsub(",", "", line); split(line, f, " "); return sprintf("%7.1f %8.1f %8.1f", 1000 * f[4], 1000 * f[8], 1000 * f[10]) }
        /^simulation ms:/ { s = us($0) }
        /^presentation ms:/ { p = us($0) }
        /^total ms:/ { t = us($0) }
        /^peak resident memory:/ { mem = $4 }
        END { printf "%-16s %-7s %7s %7s | %s | %s | %s | %5.1f %+5.1f\n",
              name, mode, passes, rate, s, p, t, mem, mem - base }' "$3"
}

echo
echo "Timed demo, game passes only, microseconds per pass (median p99 max); SDL's dummy video driver"
printf "%-16s %-7s %7s %7s | %-24s | %-24s | %-24s | %s\n" script mode passes "pass/s" \
    "simulation" "presentation" "total" "peak MB, over SDL"
for s in $scripts; do
    row "$s" before "$out/$s.before"
    row "$s" after "$out/$s.after"
done
echo "SDL alone with the 2500 x 1300 window (sdl_window_baseline): $baseline MB"
if [ "$before_passes" != 0 ]; then
    echo "before: each script's first $before_passes passes (BEFORE_PASSES=0 for whole runs)"
fi

echo
echo "Micro benchmarks (CPU time per iteration)"
cat "$out"/*_bench.csv | awk -F, '
    /^"BM_/ { gsub(/"/, "", $1); printf "  %-36s %10.2f %s\n", $1, $4, $5 }'
