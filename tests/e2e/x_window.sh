#!/usr/bin/env bash
# The real game in a real X window (Xvfb): 'q' quits with status 0; without
# any usable sound the game still runs, and closing its window quits with
# status 0.
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb

start_game "$game"
xdotool mousemove 1250 650 >/dev/null 2>&1
xdotool windowfocus "$game_window" >/dev/null 2>&1
xdotool key q
wait_game
[ ! -s "$work/game.out" ] || fail "the game wrote to standard output: $(cat "$work/game.out")"

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
echo "ok: 'q' and $how quit with status 0, the game runs without sound"
