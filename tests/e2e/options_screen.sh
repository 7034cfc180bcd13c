#!/usr/bin/env bash
# The options screen in the real game, on Xvfb (2600 x 1400, the window
# unscaled) under openbox, with the settings in a scratch XDG home:
# - o on the title screen opens it; turning the sound off and binding fire
#   to x there apply at once, and the settings file then holds exactly those
#   two changes; Escape closes it without quitting;
# - x then starts a game and z does not;
# - o in a game pauses it and opens the screen; closing it leaves the game
#   paused with exactly the picture it had, and p resumes.
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
settings=$XDG_CONFIG_HOME/zuba-trilo/settings.ini
mkdir -p "$(dirname "$settings")"
printf '# mine\n' >"$settings"
start_xvfb 2600x1400
start_window_manager

# Taps keys one after another, as a player steps through a menu.
tap() { xdotool key --delay 150 "$@"; sleep 0.3; }
title=320x200+1090+490
panel=80x100+2420+0

SDL_AUDIODRIVER=dummy start_game "$game"
xdotool windowfocus --sync "$game_window"
wait_for "$title" || fail "the splash card never showed"
sleep 3.5  # the splash card's 3 seconds, then the title screen
window_shot "$work/title.ppm"
tap o
# Sound is the fifth item: one step changes it; fire is the eleventh. (The
# file changing shows that o opened the screen.)
tap Down Down Down Down Right
[ "$(cat "$settings")" = "$(printf '# mine\nmute = yes')" ] || fail "turning the sound off saved: $(cat -A "$settings")"
tap Down Down Down Down Down Down z x
[ "$(cat "$settings")" = "$(printf '# mine\nmute = yes\nkey.fire = x')" ] ||
    fail "binding fire to x saved: $(cat -A "$settings")"
tap Escape
running || fail "Escape in the options screen quit the game"
window_shot "$work/closed.ppm"
# The blinking PUSH BUTTON (85 x 7 at 1207, 710) may stand in either phase.
no_prompt() { convert "$1" -fill black -draw 'rectangle 1200,705 1300,720' "$1"; }
no_prompt "$work/title.ppm"
no_prompt "$work/closed.ppm"
same_picture "$work/closed.ppm" "$work/title.ppm" || fail "closing the options did not put the title back as it was"

press z
sleep 2.5
dark "$panel" || fail "z started a game although fire is now bound to x"
press x
wait_for "$panel" || fail "x did not start a game"
sleep 1
tap o
window_shot "$work/open2.ppm"
tap Escape
still "$work/paused2.ppm" 1.5 || fail "the game did not stay paused after the options closed"
same_picture "$work/open2.ppm" "$work/paused2.ppm" && fail "o in a game did not open the options screen"
tap o
tap Escape
window_shot "$work/paused3.ppm"
same_picture "$work/paused3.ppm" "$work/paused2.ppm" || fail "the paused picture changed after the options opened over it"
tap p
sleep 1
window_shot "$work/resumed.ppm"
same_picture "$work/resumed.ppm" "$work/paused3.ppm" && fail "p did not resume the game"
press q
wait_game
[ "$(cat "$settings")" = "$(printf '# mine\nmute = yes\nkey.fire = x')" ] ||
    fail "the settings file after the run: $(cat -A "$settings")"
echo "ok: the options screen opens with o, saves exactly what changed, closes with Escape, pauses a game and puts its picture back"
