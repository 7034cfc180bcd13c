#!/usr/bin/env bash
# The real game in a real X window (Xvfb): the splash screen shows on black
# and 'q' quits with status 0; without any usable sound the game still runs,
# and closing its window quits with status 0.
# Arguments: game binary, replay binary, source directory.
set -u
game=$1
replay=$2
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb

# The splash screen (after pass 1) and the title screen as the replay driver
# paints them headless; with fire held the title is built in pass 64.
printf '65 fire\n' >"$work/screens.txt"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$replay" "$work/screens.txt" \
    --dump "1:$work/splash.ppm" --dump "64:$work/title.ppm" || fail "the replay driver failed"
outside=$(convert "$work/splash.ppm" -fill black -draw 'rectangle 1170,622 1331,679' -format '%[max]' info:)
[ "$outside" = 0 ] || fail "the splash screen is not black around its image"

# The splash lasts about three seconds; a screenshot that already shows the
# title screen came too late, and the game is started afresh.
seen=""
for attempt in 1 2 3; do
    start_game "$game"
    for i in $(seq 40); do
        window_shot "$work/window.ppm"
        if same_picture "$work/window.ppm" "$work/splash.ppm"; then
            seen=splash
            break
        fi
        same_picture "$work/window.ppm" "$work/title.ppm" && break
        sleep 0.1
    done
    [ -n "$seen" ] && break
    kill "$game_pid"
    wait "$game_pid" 2>/dev/null
    game_pid=""
done
[ "$seen" = splash ] || fail "the window never showed the splash screen (last shot: $(compare -metric AE "$work/window.ppm" "$work/splash.ppm" null: 2>&1) pixels differ)"

xdotool mousemove 1250 650 >/dev/null 2>&1
xdotool windowfocus "$game_window" >/dev/null 2>&1
xdotool key q
wait_game
[ "$game_status" = 0 ] || fail "'q' ended the game with status $game_status, not 0"
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
[ "$game_status" = 0 ] || fail "$how ended the game with status $game_status, not 0"
echo "ok: splash shown, 'q' and $how quit with status 0, the game runs without sound"
