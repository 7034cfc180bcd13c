#!/usr/bin/env bash
# The real game in a real X window (Xvfb): without any usable sound the game
# still runs, and closing its window quits with status 0, nothing written to
# standard output ('q' quits in every other window script); a committed demo
# plays to its end with --playdemo and --timedemo, exit status 0, the timed
# demo printing its figures. (A changed or cut-off demo gets the demo
# player's verdict, the same in every program: tests/demo_test.cpp and
# tests/live_demo_test.cpp.)
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb

# No usable sound device: the game runs silently. Its window is closed the
# way a window manager's close button does it.
start_game env SDL_AUDIODRIVER=nonexistent "$game"
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the game did not run without sound"
if c++ -std=c++20 -O1 -o "$work/x_close_window" "$src/tests/e2e/x_close_window.cpp" -lX11 2>"$work/cc.err"; then
    "$work/x_close_window" "$game_window" || fail "could not ask the window to close"
    how="closing the window"
else
    echo "note: cannot build the window-closing helper (libx11-dev missing?); quitting with Escape" >&2
    xdotool mousemove 1250 650 >/dev/null 2>&1
    xdotool windowfocus "$game_window" >/dev/null 2>&1
    xdotool key Escape
    how="Escape"
fi
wait_game
[ ! -s "$work/game.out" ] || fail "the game wrote to standard output: $(cat "$work/game.out")"

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
echo "ok: $how quits with status 0, the game runs without sound, --playdemo and --timedemo play a demo"
