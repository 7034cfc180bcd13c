#!/usr/bin/env bash
# The real window against the previous release, in one run on the same Xvfb:
# the same demo played with --timedemo (as fast as the window goes, every
# frame shown) by release 0.1.0 and by this build, fitted on 1920 x 1080,
# unscaled on 2600 x 1400 and at --scale 0.5 on 1280 x 800; then paced play
# (--playdemo, the game's own 62.5 frames a second) in the fitted window,
# with the CPU time each build used. Figures only, never pass/fail.
#
#   bench/window_compare.sh [BUILD] [PASSES]
#
# BUILD defaults to build; PASSES (of bench/aggressive_game.script, a game
# under way with bombs falling) to 6000 for the timed demos. Release 0.1.0 is
# built once from its git tag into $ZUBA_BASE_BUILD (default
# /tmp/zuba-trilo-0.1.0) with `git archive`, which leaves the repository as
# it is. ZUBA_OTHER_BUILD names a third build folder (say, of the main
# branch) played between the two in every round, labelled "other", so that a
# change is measured against its parent on the same machine in the same
# minute; ROUNDS (default 1) repeats the timed demos.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
passes=${2:-6000}
base=${ZUBA_BASE_BUILD:-/tmp/zuba-trilo-0.1.0}
paced_passes=${PACED_PASSES:-1500}
other=${ZUBA_OTHER_BUILD:-}
rounds=${ROUNDS:-1}
builds="0.1.0 new"
[ -n "$other" ] && builds="0.1.0 other new"
binary_of() {
    case "$1" in
    0.1.0) echo "$base/build/zuba-trilo" ;;
    other) echo "$other/zuba-trilo" ;;
    *) echo "$build/zuba-trilo" ;;
    esac
}
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$here/tests/e2e/xvfb_lib.bash"
unset SDL12COMPAT_WINDOW_SCALING

if [ ! -x "$base/build/zuba-trilo" ]; then
    echo "building release 0.1.0 into $base ..."
    mkdir -p "$base/src"
    # The release's tag, or its commit where a clone came without tags.
    release=v0.1.0
    git -C "$here" rev-parse -q --verify "$release^{commit}" >/dev/null || release=f77d602
    git -C "$here" archive "$release" | tar -x -C "$base/src" || fail "cannot unpack release 0.1.0 ($release)"
    cmake -S "$base/src" -B "$base/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$base/build" -j2 --target zuba-trilo >/dev/null || fail "release 0.1.0 did not build"
fi

cut_demo() {
    awk -v max="$1" '/^#/ { next } { if (n + $1 > max) exit; print; n += $1 }' "$here/bench/aggressive_game.script" >"$2"
    echo "1 escape" >>"$2"
}
demo=$work/timed.script
paced=$work/paced.script
cut_demo "$passes" "$demo"
cut_demo "$paced_passes" "$paced"
# Seconds of CPU (user + system) the command used, after its own output.
cpu_of() {
    /usr/bin/time -f "cpu %U %S %e" -o "$work/time.txt" "$@" >"$work/out.txt" 2>&1
    awk '{ printf "%.2f s CPU (%.2f user, %.2f system) in %.1f s\n", $2 + $3, $2, $3, $4 }' "$work/time.txt"
}
pps() { awk '/passes per second/ { for (i = 1; i <= NF; ++i) if ($(i + 1) == "passes" && $(i + 2) == "per") print $i }' "$1"; }
median() { awk '/frame time ms/ { for (i = 1; i <= NF; ++i) if ($i == "median") print $(i + 1) }' "$1" | tr -d ,; }

echo "load before: $(uptime | sed 's/.*load average: //')"
printf '%-34s %-8s %12s %12s\n' "window" "build" "passes/s" "median ms"
for round in $(seq "$rounds"); do
[ "$rounds" -gt 1 ] && echo "round $round, load $(uptime | sed 's/.*load average: //')"
while read -r screen label extra; do
    start_xvfb "$screen"
    for which in $builds; do
        # shellcheck disable=SC2086
        SDL_AUDIODRIVER=dummy "$(binary_of "$which")" --settings "$work/none.ini" --timedemo "$demo" $extra >"$work/$which.txt" 2>&1
        printf '%-34s %-8s %12s %12s\n' "$label on $screen" "$which" "$(pps "$work/$which.txt")" "$(median "$work/$which.txt")"
    done
    awk -v a="$(pps "$work/0.1.0.txt")" -v b="$(pps "$work/new.txt")" 'BEGIN { if (a > 0) printf "%-34s ratio new / 0.1.0: %.2f\n", "", b / a }'
    stop_xvfb
done <<'EOF_RUNS'
1920x1080 fitted
2600x1400 unscaled
1280x800 scale-0.5 --scale 0.5
EOF_RUNS
done

echo "paced play, $paced_passes passes at 62.5 a second, fitted window on 1920x1080:"
start_xvfb 1920x1080
for which in $builds; do
    printf '%-8s ' "$which"
    SDL_AUDIODRIVER=dummy cpu_of "$(binary_of "$which")" --settings "$work/none.ini" --playdemo "$paced"
done
stop_xvfb
echo "load after: $(uptime | sed 's/.*load average: //')"
