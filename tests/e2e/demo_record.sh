#!/usr/bin/env bash
# A game played in the real window (Xvfb, keys from xdotool) and recorded with
# --record replays headless in sync to its last pass, with the score the
# window showed. (A changed key, a cut-off demo and a newer format are the
# demo player's unit tests.)
# Arguments: game binary, replay binary, source directory.
game=$1
replay=$2
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb 2600x1400  # the window unscaled: its pixels are the game's
demo=$work/game.demo

SDL_AUDIODRIVER=dummy start_game "$game" --record "$demo"
xdotool mousemove 1250 650 >/dev/null 2>&1
xdotool windowfocus "$game_window" >/dev/null 2>&1
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# A cannon lost so far, as the headless replay of what the recording holds
# now tells (the recorder flushes it every few seconds into the .part file
# beside the demo, which takes the demo's place at the quit).
cannon_lost() {
    "$replay" "$demo.part" --trace "$work/sofar.jsonl" >/dev/null 2>&1
    python3 -c '
import json, sys
game = [json.loads(l) for l in open(sys.argv[1]) if "\"state\":6," in l]
sys.exit(0 if game and min(l["lives"] for l in game) < game[0]["lives"] else 1)' "$work/sofar.jsonl"
}
sleep 1.4; hold z 0.1      # the splash, cut short after its first second
sleep 1; hold z 0.1        # the title: start a game
sleep 2                    # its countdown
hold Right 0.5
hold Left 0.3
hold z 1.5                 # fire held
hold z 0.05; sleep 0.4; hold z 0.05   # and tapped
# Walks to and fro under the bombs, legs of 1 to 4 s drifting right, each
# after a shot (on a busy machine the countdown may have swallowed the fire
# above), until a cannon is lost.
for _ in $(seq 8); do
    for leg in "Left 1" "Right 2" "Left 3" "Right 4"; do
        hold z 0.1
        hold $leg
        cannon_lost && break 2
    done
done
sleep 3                    # every shot landed, the panel still
window_shot "$work/window.ppm"
xdotool key q
wait_game

passes=$(awk '!/^#/ { n += $1 } END { print n }' "$demo")
head -2 "$demo" | tr '\n' '|' | grep -qx '# zuba-trilo demo 1|# game [0-9.]*|' ||
    fail "the demo does not begin with its version and the game's: $(head -2 "$demo")"
grep -Eq '^[0-9]+ left$' "$demo" && grep -Eq '^[0-9]+ right$' "$demo" || fail "the demo lacks the moves both ways"
# Held for about 94 passes and tapped for about 3; the bounds leave room for a
# busy machine, where the game runs slower and xdotool starts late.
awk '$2 == "fire" { n[++k] = $1 } END {
        for (i = 1; i <= k; i++) { if (n[i] > max) max = n[i]; if (!min || n[i] < min) min = n[i] }
        exit !(max >= 30 && min * 4 <= max) }' "$demo" ||
    fail "the demo lacks fire held and fire tapped: $(grep ' fire$' "$demo" | tr '\n' ' ')"
[ "$(grep -v '^#' "$demo" | tail -1)" = "1 escape" ] || fail "the demo does not end with the quit"
[ "$(tail -1 "$demo")" = "# sync $((passes - 1)) $(tail -1 "$demo" | cut -d' ' -f4)" ] ||
    fail "the demo does not end with a sync line for its last pass"

"$replay" "$demo" --trace "$work/trace.jsonl" --dump "$((passes - 1)):$work/last.ppm" 2>"$work/replay.err" ||
    fail "the recorded game does not replay in sync: $(cat "$work/replay.err")"
python3 - "$work/trace.jsonl" "$passes" <<'PY' || fail "the replay does not play the recorded game"
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1])]
game = [l for l in lines if l["state"] == 6]
assert lines[-1]["pass"] == int(sys.argv[2]) - 1 and lines[-1]["quit"] == 1, "not to the quit"
assert game and min(l["lives"] for l in game) < game[0]["lives"], "no cannon lost"
assert max(l["shots_fired"] for l in game) >= 1, "no shot"
PY
# The score on the panel, as the window showed it and as the replay drew it.
convert "$work/window.ppm" -crop 100x28+2400+30 +repage "$work/score_window.ppm"
convert "$work/last.ppm" -crop 100x28+2400+30 +repage "$work/score_replay.ppm"
same_picture "$work/score_window.ppm" "$work/score_replay.ppm" ||
    fail "the replay's final score is not the one the window showed"

echo "ok: a game of $passes passes recorded in the window replays in sync with its score"
