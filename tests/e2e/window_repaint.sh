#!/usr/bin/env bash
# The window shows the game's picture again whenever the desktop destroyed
# it, on screens that do not repaint each frame: on Xvfb (2600 x 1400, the
# window unscaled) under openbox,
# - the title image, which the title screen paints once, is back after
#   another window covered it;
# - a paused game's picture (PAUSED over the frozen play) is back after
#   another window covered it, after the window was minimised and restored,
#   and after fullscreen and back.
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
command -v xmessage >/dev/null || fail "xmessage is not installed (x11-utils)"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
start_xvfb 2600x1400
start_window_manager
cover_pid=""
trap '[ -n "$cover_pid" ] && kill $cover_pid 2>/dev/null; cleanup' EXIT

# Puts another window over most of the game's window for a moment, then
# takes it away.
cover() {
    xmessage -geometry 2000x1100+100+100 -bg white -fg black "a window passing over the game" &
    cover_pid=$!
    retry 50 0.1 xdotool search --pid "$cover_pid" >/dev/null 2>&1
    sleep 1
    kill "$cover_pid"
    wait "$cover_pid" 2>/dev/null
    cover_pid=""
}
# True when the window (or the part $2 of it) shows $1.
shows() {
    window_shot "$work/now.ppm"
    if [ -n "${2:-}" ]; then convert "$work/now.ppm" -crop "$2" +repage "$work/now.ppm"; fi
    same_picture "$1" "$work/now.ppm"
}
shows_again() { retry 20 0.25 shows "$@"; }
title=320x200+1090+490
panel=80x100+2420+0

SDL_AUDIODRIVER=dummy start_game "$game"
xdotool windowfocus --sync "$game_window"
# The top of the title image, where the splash card shows nothing.
wait_for 320x60+1090+490 || fail "the title screen never showed"
sleep 0.5
window_shot "$work/title.ppm"
convert "$work/title.ppm" -crop "$title" +repage "$work/title.ppm"
cover
shows_again "$work/title.ppm" "$title" || fail "the title image is not back after a window passed over it"

xdotool windowfocus --sync "$game_window"
press z
wait_for "$panel" || fail "z did not start a game"
sleep 1
press p
sleep 1
window_shot "$work/paused.ppm"
[ "$(convert "$work/paused.ppm" -format '%[max]' info:)" != 0 ] || fail "the paused window is black"

cover
shows_again "$work/paused.ppm" || fail "the paused picture is not back after a window passed over it"

xdotool windowminimize --sync "$game_window"
sleep 0.5
xdotool windowactivate --sync "$game_window" 2>/dev/null || xdotool windowmap --sync "$game_window"
shows_again "$work/paused.ppm" || fail "the paused picture is not back after minimising and restoring"

xdotool key --window "$game_window" F11
sleep 1.5
xdotool key --window "$game_window" F11
shows_again "$work/paused.ppm" || fail "the paused picture is not back after fullscreen and back"

press q
wait_game
echo "ok: the title and a paused game are repainted after a covering window, minimise and restore, fullscreen and back"
