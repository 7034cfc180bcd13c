#!/usr/bin/env bash
# Records a demo of the corpus live in the real window: Xvfb 1920 x 1080 with
# openbox, keys from xdotool, sound off, settings and screenshots in a
# throw-away folder. Not a test (it takes minutes and the result depends on
# timing); see tests/demos/README.md for how the committed demos were made.
# Arguments: game binary, replay binary of the same build, source directory,
# "tour" or "game_over", the demo file to write.
set -u
game=$1
replay=$2
src=$3
which=$4
out=$5
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb 1920x1080
start_window_manager
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
SDL_AUDIODRIVER=dummy start_game "$game" --settings "$work/settings.ini" --record "$work/demo"
sleep 0.5
xdotool mousemove 900 500 >/dev/null 2>&1
xdotool windowfocus "$game_window" >/dev/null 2>&1
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
sleep 1.4; hold z 0.1      # the splash, cut short
sleep 1; hold z 0.1        # the title: start a game
sleep 2                    # its countdown
case $which in
tour)
    # Moves, shots, two pauses (resumed by p and by fire), mute, fullscreen
    # and back, then q.
    hold Right 0.6
    hold z 0.05; sleep 0.5; hold z 0.05
    hold Left 0.4
    xdotool key p; sleep 1.5; xdotool key p
    hold z 1.0
    xdotool key m; sleep 0.3
    hold Right 0.8
    xdotool key F11; sleep 1.5
    xwininfo -id "$game_window" | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print "fullscreen: " w "x" h}' >&2
    hold z 0.05; sleep 0.3; hold Left 0.5
    xdotool key p; sleep 1; hold z 0.05
    hold space 0.6
    xdotool key F11; sleep 1
    hold Right 0.3; hold z 0.05; sleep 1
    xdotool key q
    ;;
game_over)
    # Out from behind the shields to where bombs fall thickly, then stands
    # and fires now and then until the last cannon is lost; waits through the
    # game-over screen into the splash and quits there. Where the game is
    # comes from the headless replay of what the demo holds so far.
    last() {
        "$replay" "$work/demo" --trace "$work/sofar.jsonl" --trace-every 30 >/dev/null 2>&1
        tail -1 "$work/sofar.jsonl"
    }
    field() { last | sed -n "s/.*\"$1\":\([0-9-]*\),.*/\1/p"; }
    for _ in $(seq 30); do
        hold Right 1
        [ "$(field player_x)" -ge 450 ] && break
    done
    until [ "$(field lives)" = 0 ]; do
        for _ in $(seq 8); do hold z 0.05; sleep 1.5; done
    done
    until [ "$(field state)" -ge 7 ] || [ "$(field state)" -le 4 ]; do sleep 5; done
    sleep 8
    xdotool key q
    ;;
*) fail "record what? '$which'" ;;
esac
wait_game
[ "$game_status" = 0 ] || fail "the game ended with status $game_status: $(cat "$work/game.err")"
echo "settings written: $(tr "\n" " " 2>/dev/null <"$work/settings.ini")" >&2
cp "$work/demo" "$out"
