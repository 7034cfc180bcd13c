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
# game's screen) as the
# 1855 x 964 window shows it.
title_shot() {
    window_shot "$work/window.ppm"
    convert "$work/window.ppm" -crop 237x148+809+363 +repage "$1"
}

SDL_AUDIODRIVER=dummy start_game "$game"
wait_size 1855x964 || fail "the fitted window is $(window_size), not 1855x964"
# Wait out the splash: the top of the title image, where the splash card
# shows nothing, lights up.
for _ in $(seq 60); do
    title_shot "$work/before.ppm"
    [ "$(convert "$work/before.ppm" -crop 237x60+0+0 -format '%[max]' info:)" != 0 ] && break
    sleep 0.25
done
sleep 0.5
title_shot "$work/before.ppm"
for keys in F11 alt+Return; do
    xdotool key --window "$game_window" "$keys"
    wait_size 1920x1080 || fail "$keys did not make the window fullscreen (it is $(window_size))"
    # The game never paints the title image again: if it shows, it was kept.
    shown=""
    for _ in $(seq 25); do
        import -window root -depth 8 "$work/full.ppm"
        [ "$(convert "$work/full.ppm" -crop 246x185+837+418 +repage -format '%[max]' info:)" != 0 ] && shown=yes && break
        sleep 0.2
    done
    [ -n "$shown" ] || fail "fullscreen after $keys shows no title image"
    xdotool key --window "$game_window" "$keys"
    wait_size 1855x964 || fail "$keys did not bring the window back (it is $(window_size))"
    kept=""
    for _ in $(seq 25); do
        title_shot "$work/after.ppm"
        same_picture "$work/before.ppm" "$work/after.ppm" && kept=yes && break
        sleep 0.2
    done
    [ -n "$kept" ] || fail "the picture changed after $keys there and back"
done
[ -n "${ZUBA_SHOT:-}" ] && cp "$work/full.ppm" "$ZUBA_SHOT"
quit_game

SDL_AUDIODRIVER=dummy start_game "$game" --fullscreen
wait_size 1920x1080 || fail "--fullscreen started a $(window_size) window"
quit_game
echo "ok: F11 and Alt+Enter switch to fullscreen and back with the picture kept; --fullscreen starts in it"
