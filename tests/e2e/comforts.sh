#!/usr/bin/env bash
# The player's comforts in the real game, on Xvfb (2600 x 1400, so the window
# is not scaled) under a window manager (openbox), with the settings and
# screenshot folders in a scratch XDG home:
# - the replay driver ignores a settings file that rebinds the keys;
# - key.fire = x: x starts a game (that z then does not: options_screen.sh);
# - the window shows the game's picture again whenever the desktop destroyed
#   it: the title image, which the title screen paints once, after another
#   window covered it; a paused game's picture after a covering window, and
#   minimising and restoring (fullscreen and back: window_manager.sh);
# - p freezes the picture (two shots 2 s apart equal) and p resumes it;
# - F12 writes a PNG of the frame into the screenshot folder, equal to what
#   the window shows, and prints its path;
# - minimising the window pauses the game and lets go of a held key: after
#   coming back and resuming, the cannon no longer moves;
# - mute = yes gives a silent stream under SDL's disk audio driver;
# - toggling mute and fullscreen in play changes just those lines of a
#   clean settings file at exit;
# - --scale wins over SDL12COMPAT_WINDOW_SCALING.
# Arguments: game binary, replay binary, source directory.
game=$1
replay=$2
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
command -v xmessage >/dev/null || fail "xmessage is not installed (x11-utils)"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
settings=$XDG_CONFIG_HOME/zuba-trilo/settings.ini
mkdir -p "$(dirname "$settings")"
printf '# fire on x, left on a\nkey.fire = x\nkey.left = a\npad.fire = 3\n' >"$settings"

golden=$src/tests/replay/shoot_invaders_and_saucer
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$replay" "$golden.script" --trace "$work/trace" --trace-every 10 >/dev/null ||
    fail "the replay driver failed"
gzip -dc "$golden.trace.gz" | cmp -s - "$work/trace" || fail "the replay driver read the player's settings"

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
    window_shot "$work/now.ppm" "${2:-}"
    same_picture "$1" "$work/now.ppm"
}
shows_again() { retry 20 0.25 shows "$@"; }

# The cannon's x: where the first run of 11 lit pixels starts in its bottom
# row (bombs are 3 wide); -1 when there is none.
cannon_x() {
    window_shot "$work/row.ppm"
    convert "$work/row.ppm" -crop 2420x1+0+1282 +repage -depth 8 gray:- | od -An -v -tu1 -w1 |
        awk '{ if ($1 > 0) { run++; if (run == 11 && !found) { print NR - 11; found = 1 } } else run = 0 }
             END { if (!found) print -1 }'
}
title=320x200+1090+490
panel=80x100+2420+0

SDL_AUDIODRIVER=dummy start_game "$game"
xdotool windowfocus --sync "$game_window"
# The top of the title image, where the splash card shows nothing.
wait_for 320x60+1090+490 || fail "the title screen never showed"
sleep 0.5
window_shot "$work/title.ppm" "$title"
cover
shows_again "$work/title.ppm" "$title" || fail "the title image is not back after a window passed over it"
xdotool windowfocus --sync "$game_window"
press x
wait_for "$panel" || fail "x did not start a game"
sleep 1

press p
sleep 0.5
still "$work/paused2.ppm" 2 || fail "p did not freeze the picture"
[ "$(convert "$work/paused2.ppm" -format '%[max]' info:)" != 0 ] || fail "the paused window is black"
cover
shows_again "$work/paused2.ppm" || fail "the paused picture is not back after a window passed over it"
xdotool windowminimize --sync "$game_window"
sleep 0.5
xdotool windowactivate --sync "$game_window" 2>/dev/null || xdotool windowmap --sync "$game_window"
shows_again "$work/paused2.ppm" || fail "the paused picture is not back after minimising and restoring"
xdotool windowfocus --sync "$game_window"

xdotool key F12
retry 40 0.25 test -s "$work/game.out"
png=$(head -1 "$work/game.out")
case $png in
    "$XDG_DATA_HOME"/zuba-trilo/screenshots/zuba-trilo-[0-9]*-[0-9]*.png) ;;
    *) fail "F12 printed '$png', not a path in the screenshot folder" ;;
esac
[ -s "$png" ] || fail "F12 wrote no $png"
same_picture "$png" "$work/paused2.ppm" || fail "the screenshot differs from the frame shown"

# p resumes: held right moves the cannon. Minimised, the game pauses; the
# key is let go while the window cannot see it.
press p
xdotool keydown Right
sleep 0.5
x1=$(cannon_x)
sleep 0.5
x2=$(cannon_x)
[ "$x2" -gt "$x1" ] || fail "holding right did not move the cannon ($x1, then $x2)"
xdotool windowminimize --sync "$game_window"
sleep 0.5
xdotool keyup Right
sleep 0.5
xdotool windowactivate --sync "$game_window" 2>/dev/null || xdotool windowmap --sync "$game_window"
sleep 1
still "$work/back.ppm" 2 || fail "minimising did not pause, or coming back resumed"
press p
sleep 0.5
x3=$(cannon_x)
sleep 1
x4=$(cannon_x)
[ "$x3" = "$x4" ] || fail "the right key held when the window was minimised stayed held ($x3, then $x4)"
press q
wait_game

printf '\xef\xbb\xbf# mine\r\nkey.fire = z, space\nmute  =  no \n\t# kept' >"$work/toggle.ini"
SDL_AUDIODRIVER=dummy start_game "$game" --settings "$work/toggle.ini"
xdotool windowfocus --sync "$game_window"
xdotool key m
xdotool key F11
sleep 1
press q
wait_game
expected=$(printf '\xef\xbb\xbf# mine\r\nkey.fire = z, space\nmute  =  yes \n\t# kept\nfullscreen = yes\n')
[ "$(cat "$work/toggle.ini")" = "$expected" ] || fail "the settings file after m and F11 is: $(cat -A "$work/toggle.ini")"
[ ! -s "$work/game.err" ] || fail "the game said '$(cat "$work/game.err")' of a clean settings file"

SDL12COMPAT_WINDOW_SCALING=0.5 SDL_AUDIODRIVER=dummy start_game "$game" --scale 0.75 --settings "$work/none.ini"
wait_size 1875x975 || fail "--scale 0.75 with SDL12COMPAT_WINDOW_SCALING=0.5 gave a $(window_size) window"
press q
wait_game

# Mute: fire held through splash and title sounds the start chime (as
# audio_capture.sh hears it), but with mute = yes the disk driver writes
# nothing but 16-bit silence, 0.
printf 'mute = yes\n' >"$work/mute.ini"
start_game env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/stream.raw" "$game" --settings "$work/mute.ini"
xdotool windowfocus --sync "$game_window"
press z 6
press q
wait_game
[ -s "$work/stream.raw" ] && [ "$(tr -d '\0' <"$work/stream.raw" | wc -c)" = 0 ] || fail "mute = yes still sounded"
echo "ok: settings rebind fire, the picture comes back after covering, minimising and fullscreen," \
    "p pauses and resumes, F12 writes the frame, minimising pauses and releases keys, mute silences"
