#!/usr/bin/env bash
# The soak: plays the game headless for a long run of passes with scripted
# fire and movement (game after game through splash, title, game and game
# over), quits at the very end, and checks every pass of the trace with
# zuba-soak-check. Reports games played, time taken and the replay driver's
# peak resident memory at every tenth of the run and at the end.
#
#   bash scripts/soak.sh [PASSES] [BUILD_DIR]     (defaults: 1000000, build)
#   bash scripts/soak.sh 1000000 build-asan       (the sanitizer build)
#   bash scripts/soak.sh --title [FRAMES] [BUILD_DIR]
#       the title screen left alone for FRAMES frames (default 10000000), then
#       Escape; the trace is sampled every 100 000 passes.
#
# The script is the same for every run of the same length: its keys come from
# a fixed-seed generator. Exits 0 when the run ended by its quit and the trace
# is consistent.
set -uo pipefail
mode=play
if [ "${1:-}" = "--title" ]; then
    mode=title
    shift
fi
passes=${1:-}
[ -n "$passes" ] || passes=$([ $mode = title ] && echo 10000000 || echo 1000000)
build=${2:-build}
replay=$build/zuba-trilo-replay
check=$build/zuba-soak-check
for b in "$replay" "$check"; do
    [ -x "$b" ] || { echo "soak: $b is not built" >&2; exit 2; }
done
case $passes in '' | *[!0-9]*) echo "soak: PASSES must be a number" >&2; exit 2 ;; esac

# SDL itself keeps a few hundred bytes to the end of the process; that is not
# the game's, and a soak is about growth during the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Pass 0 resets the hi-score, pass 1 builds the splash, 180 splash frames,
# one pass builds the title: title frame 1 is pass 183.
TITLE_FIRST_PASS=183
trace_every=1
if [ $mode = title ]; then
    # Nothing held; Escape is read by the title frame numbered PASSES.
    printf '%d -\n1 escape\n40 -\n' $((passes + TITLE_FIRST_PASS - 1)) >"$work/soak.script"
    trace_every=100000
    ran_at_least=$((passes + TITLE_FIRST_PASS))
else
    # Lines of 1 to 40 passes with nothing, left or right held, and presses
    # of fire of 1 to 3 passes (alone or while moving). Fire pressed now and
    # then ends the splash and game-over screens from their frame 62 and
    # starts the next game from the title's frame 31; in the game it fires,
    # and the bombs end it. Escape at the very end, then time for a frame
    # that reads it.
    awk -v passes="$passes" 'BEGIN {
        # The "minimal standard" generator, exact in the doubles awk computes with.
        seed = 20240601; total = 0
        n_keys = split("- left right fire fire+left fire+right", keys, " ")
        while (total < passes) {
            seed = (seed * 48271) % 2147483647
            k = int(seed / 65536) % n_keys + 1
            seed = (seed * 48271) % 2147483647
            n = int(seed / 65536) % (keys[k] ~ /fire/ ? 3 : 40) + 1
            if (total + n > passes) n = passes - total
            print n, keys[k]
            total += n
        }
        print "1 escape"
        print "400 -"
    }' >"$work/soak.script"
    ran_at_least=$passes
fi

# The trace goes through a pipe to the checker; the checker also reads the
# driver's peak memory as the run goes.
memory_every=$((passes / 10 > 1000 ? passes / 10 : 1000))
mkfifo "$work/trace"
start=$(date +%s.%N)
"$replay" "$work/soak.script" --trace "$work/trace" --trace-every $trace_every --summary --timedemo \
    >"$work/summary" 2>"$work/err" &
replay_pid=$!
"$check" "$work/trace" --memory-of "$replay_pid" --memory-every "$memory_every" >"$work/check" 2>&1 &
check_pid=$!
wait "$replay_pid"
replay_status=$?
wait "$check_pid"
check_status=$?
seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.0f", b - a }')

cat "$work/check"
cat "$work/summary"
echo "wall time: ${seconds} s"
status=0
if [ "$replay_status" != 0 ]; then
    echo "soak: the replay driver exited with $replay_status" >&2
    cat "$work/err" >&2
    status=1
fi
grep -q '^ended: quit requested$' "$work/summary" || { echo "soak: the run did not end by its quit" >&2; status=1; }
ran=$(sed -n 's/^passes: //p' "$work/summary")
[ -n "$ran" ] && [ "$ran" -ge "$ran_at_least" ] || {
    echo "soak: only ${ran:-no} passes ran, not $ran_at_least" >&2
    status=1
}
[ "$check_status" = 0 ] || { echo "soak: the trace is not consistent" >&2; status=1; }
if [ $mode = title ]; then
    # Still on the title screen, its blink phase counted to the last frame.
    grep -q "^last pass: state 4, screen_timer $passes\$" "$work/check" || {
        echo "soak: the run did not end on title frame $passes" >&2
        status=1
    }
fi
[ $status = 0 ] && echo "soak: $ran passes, consistent"
exit $status
