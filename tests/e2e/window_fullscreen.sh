#!/usr/bin/env bash
# Fullscreen under a window manager (openbox on Xvfb 1920 x 1080): F11 and
# Alt+Enter switch the fitted window to fullscreen and back at any moment,
# the picture kept (the title image, which the title screen never paints
# again, is the same after the round trip); --fullscreen starts in it.
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb 1920x1080
start_window_manager

# The title image above its blinking prompt (320 x 200 at 1090, 490 of the
# game's screen) as the 1855 x 964 window shows it.
title_shot() {
    window_shot "$work/window.ppm"
    convert "$work/window.ppm" -crop 237x148+809+363 +repage "$1"
}
# The top of the title image, where the splash card shows nothing, is lit.
title_shown() {
    title_shot "$work/before.ppm"
    [ "$(convert "$work/before.ppm" -crop 237x60+0+0 -format '%[max]' info:)" != 0 ]
}
# Fullscreen shows the title image (which the game never paints again).
fullscreen_title() {
    import -window root -depth 8 "$work/full.ppm"
    [ "$(convert "$work/full.ppm" -crop 246x185+837+418 +repage -format '%[max]' info:)" != 0 ]
}
same_title() {
    title_shot "$work/after.ppm"
    same_picture "$work/before.ppm" "$work/after.ppm"
}

SDL_AUDIODRIVER=dummy start_game "$game"
wait_size 1855x964 || fail "the fitted window is $(window_size), not 1855x964"
retry 60 0.25 title_shown
sleep 0.5
title_shot "$work/before.ppm"
for keys in F11 alt+Return; do
    xdotool key --window "$game_window" "$keys"
    wait_size 1920x1080 || fail "$keys did not make the window fullscreen (it is $(window_size))"
    retry 25 0.2 fullscreen_title || fail "fullscreen after $keys shows no title image"
    xdotool key --window "$game_window" "$keys"
    wait_size 1855x964 || fail "$keys did not bring the window back (it is $(window_size))"
    retry 25 0.2 same_title || fail "the picture changed after $keys there and back"
done
[ -n "${ZUBA_SHOT:-}" ] && cp "$work/full.ppm" "$ZUBA_SHOT"
quit_game

SDL_AUDIODRIVER=dummy start_game "$game" --fullscreen
wait_size 1920x1080 || fail "--fullscreen started a $(window_size) window"
quit_game
echo "ok: F11 and Alt+Enter switch to fullscreen and back with the picture kept; --fullscreen starts in it"
