#!/usr/bin/env bash
# The window under a window manager (openbox on Xvfb 1920 x 1080):
# - F11 and Alt+Enter switch the fitted window to fullscreen and back at any
#   moment, the picture kept (the title image, which the title screen never
#   paints again, is the same after the round trip); --fullscreen starts in it;
# - resized by the window manager, it shows the whole picture refitted, its
#   shape kept, with black bars; the size is remembered in the settings file
#   and the next game opens at it; a remembered size larger than the display
#   is refitted.
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb 1920x1080
start_window_manager
settings=$work/settings.ini
printf '# mine\nfilter = sharp\nvsync = no\n' >"$settings"

# The title image above its blinking prompt (320 x 200 at 1090, 490 of the
# game's screen) as the 1855 x 964 window shows it, and fullscreen.
title=237x148+809+363
same_title() {
    window_shot "$work/after.ppm" "$title"
    same_picture "$work/before.ppm" "$work/after.ppm"
}

SDL_AUDIODRIVER=dummy start_game "$game" --settings "$settings"
wait_size 1855x964 || fail "the fitted window is $(window_size), not 1855x964"
# The top of the title image, where the splash card shows nothing.
wait_for 237x60+809+363 || fail "the title screen never showed"
sleep 0.5
window_shot "$work/before.ppm" "$title"
for keys in F11 alt+Return; do
    xdotool key --window "$game_window" "$keys"
    wait_size 1920x1080 || fail "$keys did not make the window fullscreen (it is $(window_size))"
    retry 25 0.2 lit 246x185+837+418 || fail "fullscreen after $keys shows no title image"
    xdotool key --window "$game_window" "$keys"
    wait_size 1855x964 || fail "$keys did not bring the window back (it is $(window_size))"
    retry 25 0.2 same_title || fail "the picture changed after $keys there and back"
done
xdotool windowsize "$game_window" 1200 900
wait_size 1200x900 || fail "the window did not take the size 1200x900 (it is $(window_size))"
sleep 1
# 1200 x 624 of picture, centred: bars of 138 rows above and below.
refitted() { dark 1200x138+0+0 && dark 1200x138+0+762 && lit 154x35+523+373; }
retry 20 0.25 refitted || fail "the resized window does not show the picture refitted between black bars"
# The picture is the screen's shape: the title image's top left corner
# stands where 1090, 490 of the screen falls in the 1200 x 624 picture.
window_shot "$work/resized.ppm"
convert "$work/resized.ppm" -crop 1200x624+0+138 +repage -resize 2500x1300! -crop 320x200+1090+490 +repage \
    -format '%[max]' info: | grep -qv '^0$' || fail "no title image where the refitted picture has it"
quit_game
expected=$(printf '# mine\nfilter = sharp\nvsync = no\nwindow_size = 1200x900\n')
[ "$(cat "$settings")" = "$expected" ] || fail "the settings file after resizing is: $(cat -A "$settings")"
[ ! -s "$work/game.err" ] || fail "the game said: $(cat "$work/game.err")"

# A game started with the settings file (and options $3...) opens at size
# $1, or fails saying what $2 gave; it is quit.
opens_at() {
    SDL_AUDIODRIVER=dummy start_game "$game" --settings "$settings" "${@:3}"
    wait_size "$1" || fail "$2 gave a $(window_size) window, not $1"
    quit_game
}
opens_at 1200x900 "the remembered size"
opens_at 1250x650 "--scale 0.5, which wins over the remembered size," --scale 0.5

printf 'window_size = 3000x2000\n' >"$settings"
opens_at 1855x964 "a remembered size larger than the display"
[ "$(cat "$settings")" = "window_size = 3000x2000" ] || fail "a game that was not resized changed the size: $(cat "$settings")"
opens_at 1920x1080 --fullscreen --fullscreen
echo "ok: F11 and Alt+Enter switch to fullscreen and back with the picture kept; --fullscreen starts in it;" \
    "a resized window refits the picture with black bars, the size is remembered and refitted when too large"
