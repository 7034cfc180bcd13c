#!/usr/bin/env bash
# Start-up failures: when SDL cannot start, or finds no display, the game
# prints exactly "SDL initialize error." and exits with status -1 (255); when
# only sound is unavailable, the game runs silently.
# Arguments: game binary, replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
game=$1
replay=$2

for binary in "$game" "$replay"; do
    args=()
    [ "$binary" = "$replay" ] && { printf '10 -\n' >"$work/short.txt"; args=("$work/short.txt"); }
    SDL_VIDEODRIVER=nonexistent timeout 20 "$binary" "${args[@]}" >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" = 255 ] || fail "$(basename "$binary") exited with $status, not 255, when SDL could not start"
    printf 'SDL initialize error.\n' | cmp -s - "$work/out" ||
        fail "$(basename "$binary") printed '$(cat "$work/out")' instead of the one error line"
done

# No display at all (no X, no Wayland, no driver asked for): SDL would draw
# into memory and the game play on unseen; it must say so and end at once.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    timeout 5 "$game" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 255 ] || fail "with no display the game exited with $status, not 255"
printf 'SDL initialize error.\n' | cmp -s - "$work/out" || fail "with no display the game printed '$(cat "$work/out")'"
grep -qx 'zuba-trilo: no display found: run the game from a desktop session, or set DISPLAY or WAYLAND_DISPLAY.' \
    "$work/err" || fail "with no display the game did not say why: $(cat "$work/err")"
# The same driver asked for by name keeps running until stopped.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    timeout 3 "$game" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 124 ] || fail "with SDL_VIDEODRIVER=offscreen the game exited with $status instead of playing on"

# No usable sound: the same screens, passes and trace as with sound.
printf '70 -\n1 escape\n5 -\n' >"$work/quit.txt"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=nonexistent timeout 60 "$replay" "$work/quit.txt" \
    --trace "$work/silent.jsonl" --summary >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 0 ] || fail "without sound the replay exited with $status: $(cat "$work/err")"
grep -q '^ended: quit requested$' "$work/out" || fail "without sound the run did not end by its quit: $(cat "$work/out")"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 "$replay" "$work/quit.txt" --trace "$work/sound.jsonl" ||
    fail "the replay with the dummy sound driver failed"
cmp -s "$work/silent.jsonl" "$work/sound.jsonl" || fail "the trace without sound differs from the one with sound"
echo "ok: SDL start-up failure and a missing display reported; the game runs without sound"
