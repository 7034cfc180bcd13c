#!/usr/bin/env bash
# Plays the real game in Xvfb with real key presses from xdotool (start, move,
# fire) and saves a screenshot of the window mid-game as docs/play.png.
# Under Xvfb the game may run slower than 60 frames a second, so the script
# watches the window instead of trusting the clock.
# Usage: scripts/make_play_screenshot.sh build/zuba-trilo [source dir]
set -u
game=$1
src=${2:-.}
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb
start_game env SDL_AUDIODRIVER=dummy "$game"
xdotool mousemove 1250 650 >/dev/null 2>&1
xdotool windowfocus "$game_window" >/dev/null 2>&1

press() { xdotool keydown "$1"; sleep "${2:-0.3}"; xdotool keyup "$1"; }
# A checksum of the window's area WxH+X+Y.
area() { window_shot "$work/w.ppm"; convert "$work/w.ppm" -crop "$1" +repage -format '%#' info:; }
# Waits (up to $2 tries) until the area $1 differs from $3.
wait_change() {
    local i
    for i in $(seq "$2"); do
        [ "$(area "$1")" != "$3" ] && return 0
        sleep 0.5
    done
    return 1
}

panel=90x80+2410+20
wait_change 2500x1300+0+0 40 "$(convert -size 2500x1300 xc:black -format '%#' info:)" ||
    fail "no splash screen"
splash=$(area 2500x1300+0+0)
# Fire until the title screen, then until the game screen's panel shows.
for i in $(seq 30); do
    press z
    [ "$(area 2500x1300+0+0)" != "$splash" ] && break
    sleep 0.5
done
title_panel=$(area "$panel")
for i in $(seq 30); do
    press z
    sleep 1
    [ "$(area "$panel")" != "$title_panel" ] && break
done
# The cannon starts under the front row's first column: fire until it scores.
score=90x8+2420+40
zero=$(area "$score")
for i in $(seq 20); do
    press z
    wait_change "$score" 8 "$zero" && break
done
# Walk right under the first shield, firing into it and at the invaders.
for i in $(seq 6); do
    xdotool keydown Right
    sleep 0.5
    xdotool keyup Right
    press z
    sleep 1
done
press z
sleep 0.5
window_shot "$work/play.ppm"
convert "$work/play.ppm" "$src/docs/play.png" || fail "could not write docs/play.png"
xdotool key q
wait_game
echo "docs/play.png written"
