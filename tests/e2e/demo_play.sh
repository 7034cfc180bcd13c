#!/usr/bin/env bash
# A committed demo plays to its end in the real window (Xvfb) with
# --playdemo and --timedemo, exit status 0, the timed demo printing its
# figures; with one key changed the timed demo says it is out of sync and
# exits 1; cut off mid-line it exits 3, as the replay driver does.
# Arguments: game binary, replay binary, source directory.
set -u
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
start_xvfb
demo=$src/tests/demos/short_game.demo

SDL_AUDIODRIVER=dummy start_game "$game" --playdemo "$demo"
wait_game
[ "$game_status" = 0 ] || fail "--playdemo exited with status $game_status: $(cat "$work/game.err")"

# As fast as it goes: it may end before a window search would find it.
SDL_AUDIODRIVER=dummy timeout 120 "$game" --timedemo "$demo" >"$work/game.out" 2>"$work/game.err"
game_status=$?
[ "$game_status" = 0 ] || fail "--timedemo exited with status $game_status: $(cat "$work/game.err")"
grep -Eq '^timedemo: 431 passes in [0-9.]+ s, [0-9]+ passes per second$' "$work/game.out" &&
    grep -Eq '^frame time ms: median [0-9.]+, p95 [0-9.]+, p99 [0-9.]+, max [0-9.]+$' "$work/game.out" ||
    fail "--timedemo printed: $(cat "$work/game.out")"

first=$(grep -n -m1 -E '^[0-9]+ right$' "$demo" | cut -d: -f1)
sed "${first}s/right/-/" "$demo" >"$work/changed.demo"
SDL_AUDIODRIVER=dummy timeout 120 "$game" --timedemo "$work/changed.demo" >"$work/game.out" 2>"$work/game.err"
game_status=$?
[ "$game_status" = 1 ] && grep -qx "$work/changed.demo: out of sync at pass 430" "$work/game.err" ||
    fail "a changed demo gave status $game_status and '$(cat "$work/game.err")'"
# Cut off mid-line, as a killed recording leaves it: the replay driver's
# status and message in the window too.
line=7
head -n $((line - 1)) "$demo" >"$work/cut.demo"
sed -n "${line}p" "$demo" | head -c 2 >>"$work/cut.demo"
SDL_AUDIODRIVER=dummy timeout 120 "$game" --timedemo "$work/cut.demo" >"$work/game.out" 2>"$work/game.err"
game_status=$?
"$2" "$work/cut.demo" >/dev/null 2>"$work/replay.err"
replay_status=$?
[ "$game_status" = 3 ] && [ "$replay_status" = 3 ] && grep -q "^$work/cut.demo:$line: the demo stops" "$work/game.err" &&
    [ "$(cat "$work/game.err")" = "$(cat "$work/replay.err")" ] ||
    fail "a cut-off demo gave $game_status ($(cat "$work/game.err")) and $replay_status from the replay driver"
echo "ok: --playdemo and --timedemo play a committed demo to its end; a changed one is out of sync;" \
    "a cut-off one exits 3 as from the replay driver"
