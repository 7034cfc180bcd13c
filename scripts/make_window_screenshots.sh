#!/usr/bin/env bash
# Takes the README's screenshots of the game's window on a 1920 x 1080
# desktop (Xvfb with the openbox window manager): the window as it opens,
# fitted to the screen, during a game; the same game after F11 (fullscreen);
# and after F11 again (back in the window).
# Usage: scripts/make_window_screenshots.sh build/zuba-trilo [source dir]
set -u
game=$1
src=${2:-.}
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
unset SDL12COMPAT_WINDOW_SCALING
start_xvfb 1920x1080
start_window_manager
start_game env SDL_AUDIODRIVER=dummy "$game"
for _ in $(seq 100); do
    xwininfo -id "$game_window" | grep -q IsViewable && break
    sleep 0.2
done
xdotool mousemove 1900 1060 >/dev/null 2>&1
press() { xdotool key --window "$game_window" "$1"; }
# Skip the splash, start a game, fire and move right for a while.
for _ in $(seq 12); do press z; sleep 0.5; done
xdotool keydown --window "$game_window" Right
for _ in $(seq 10); do press z; sleep 0.4; done
xdotool keyup --window "$game_window" Right
# Four grays keep the pictures small (the game is gray on black anyway).
shot() {
    import -window root -depth 8 "$work/s.png" &&
        convert "$work/s.png" -colorspace Gray -colors 4 -strip -define png:compression-level=9 "PNG8:$src/docs/$1"
}
shot window-1920x1080.png
press F11; sleep 3
shot fullscreen-1920x1080.png
press F11; sleep 3
shot window-again-1920x1080.png
press q
wait_game
ls -l "$src"/docs/*1920x1080.png
