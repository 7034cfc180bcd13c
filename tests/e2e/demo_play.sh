#!/usr/bin/env bash
# A committed demo plays to its end in the real window (Xvfb) with
# --playdemo and --timedemo, exit status 0, the timed demo printing its
# figures. (A changed or cut-off demo gets the demo player's verdict, the
# same in every program: tests/demo_test.cpp and tests/live_demo_test.cpp.)
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb
demo=$src/tests/demos/short_game.demo

SDL_AUDIODRIVER=dummy start_game "$game" --playdemo "$demo"
wait_game

# As fast as it goes: it may end before a window search would find it.
SDL_AUDIODRIVER=dummy timeout 120 "$game" --timedemo "$demo" >"$work/game.out" 2>"$work/game.err"
game_status=$?
[ "$game_status" = 0 ] || fail "--timedemo exited with status $game_status: $(cat "$work/game.err")"
grep -Eq '^timedemo: 431 passes in [0-9.]+ s, [0-9]+ passes per second$' "$work/game.out" &&
    grep -Eq '^frame time ms: median [0-9.]+, p95 [0-9.]+, p99 [0-9.]+, max [0-9.]+$' "$work/game.out" ||
    fail "--timedemo printed: $(cat "$work/game.out")"

echo "ok: --playdemo and --timedemo play a committed demo to its end"
