#!/usr/bin/env bash
# The game's command line and start-up, without a window:
# - --help and --version print and exit 0; a bad option or value prints one
#   line saying what was wrong and the usage on standard error and exits 2,
#   before SDL starts (no window is ever opened: with a video driver that
#   cannot start, reaching SDL would end in 255);
# - when SDL cannot start, or finds no display, the game prints exactly
#   "SDL initialize error." and exits with status -1 (255); when only sound
#   is unavailable, the game runs silently.
# Arguments: game binary, replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
game=$1
replay=$2
src=$3
run() { SDL_VIDEODRIVER=nonexistent capture "$game" "$@"; }
# SDL could not start: status 255 and the one line on standard output.
sdl_failed() { [ "$status" = 255 ] && printf 'SDL initialize error.\n' | cmp -s - "$work/out"; }

run --help
[ "$status" = 0 ] || fail "--help exited with $status"
grep -q '^Usage: zuba-trilo' "$work/out" || fail "--help printed no usage"  # its options: tests/options_test.cpp
[ ! -s "$work/err" ] || fail "--help wrote to standard error"

version=$(sed -n 's/^project(zuba_trilo VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
run --version
[ "$status" = 0 ] || fail "--version exited with $status"
[ "$(cat "$work/out")" = "zuba-trilo $version" ] || fail "--version printed '$(cat "$work/out")', not 'zuba-trilo $version'"

while IFS='|' read -r args message; do
    # shellcheck disable=SC2086
    run $args
    [ "$status" = 2 ] || fail "'$args' exited with $status, not 2"
    [ ! -s "$work/out" ] || fail "'$args' wrote to standard output"
    [ "$(head -1 "$work/err")" = "zuba-trilo: $message" ] ||
        fail "'$args' said '$(head -1 "$work/err")', not 'zuba-trilo: $message'"
    [ "$(sed -n 2p "$work/err")" = "Usage: zuba-trilo [OPTION]..." ] || fail "'$args' printed no usage after its error"
done <<'EOF_CASES'  # every option's messages: tests/options_test.cpp
--fulscreen|unknown option '--fulscreen'
--scale 3|--scale wants a number from 0.25 to 2.0, not '3'
game.txt|unknown option 'game.txt'
EOF_CASES

# A settings path that is no file is one line naming it as given, and the
# game goes on with the defaults: a FIFO is never waited on.
mkfifo "$work/fifo"
mkdir "$work/folder"
for path in "$work/fifo" "$work/folder" "$work/../$(basename "$work")/folder"; do
    run --settings "$path"
    [ "$status" = 255 ] || fail "--settings $path did not go on to start the game (status $status)"
    [[ $(head -1 "$work/err") == "$path: "*"not a settings file; using the defaults" ]] ||
        fail "--settings $path said '$(head -1 "$work/err")'"
done

# SDL's scaling variable is held to the rule of --scale: one line naming it,
# no usage (the command line was fine), status 2 before SDL starts.
for value in 100 nan inf 0 -1 '' ' 1' 0.5x 1e9; do
    SDL12COMPAT_WINDOW_SCALING=$value run --fullscreen
    [ "$status" = 2 ] || fail "SDL12COMPAT_WINDOW_SCALING='$value' exited with $status, not 2"
    [ "$(cat "$work/err")" = "zuba-trilo: SDL12COMPAT_WINDOW_SCALING wants a number from 0.25 to 2.0 (or to be unset), not '$value'" ] ||
        fail "SDL12COMPAT_WINDOW_SCALING='$value' said '$(cat "$work/err")'"
done
for value in 0.25 .5 2.0; do
    SDL12COMPAT_WINDOW_SCALING=$value run
    [ "$status" = 255 ] || fail "SDL12COMPAT_WINDOW_SCALING=$value did not start the game (status $status)"
done

# Good options go on to start SDL, which fails here as it always did; so
# does the replay driver's.
run --fullscreen --scale 0.5 --frame-stats
sdl_failed || fail "good options gave status $status and '$(cat "$work/out")', not SDL's error"
printf '10 -\n' >"$work/short.txt"
SDL_VIDEODRIVER=nonexistent capture "$replay" "$work/short.txt"
sdl_failed || fail "the replay driver gave status $status and '$(cat "$work/out")', not SDL's error"

# No display at all (no X, no Wayland, no driver asked for): SDL would draw
# into memory and the game play on unseen; it must say so and end at once.
capture env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$game"
sdl_failed || fail "with no display the game gave status $status and '$(cat "$work/out")'"
grep -qx 'zuba-trilo: no display found: run the game from a desktop session, or set DISPLAY or WAYLAND_DISPLAY.' \
    "$work/err" || fail "with no display the game did not say why: $(cat "$work/err")"
# The same driver asked for by name keeps running until stopped.
capture_timeout=3 capture env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$game"
[ "$status" = 124 ] || fail "with SDL_VIDEODRIVER=offscreen the game exited with $status instead of playing on"

# No usable sound: the same screens, passes and trace as with sound.
printf '70 -\n1 escape\n5 -\n' >"$work/quit.txt"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=nonexistent capture "$replay" "$work/quit.txt" --trace "$work/silent.jsonl" --summary
[ "$status" = 0 ] || fail "without sound the replay exited with $status: $(cat "$work/err")"
grep -q '^ended: quit requested$' "$work/out" || fail "without sound the run did not end by its quit: $(cat "$work/out")"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 "$replay" "$work/quit.txt" --trace "$work/sound.jsonl" ||
    fail "the replay with the dummy sound driver failed"
cmp -s "$work/silent.jsonl" "$work/sound.jsonl" || fail "the trace without sound differs from the one with sound"
echo "ok: --help, --version, bad options and settings paths that are no file;" \
    "SDL start-up failure and a missing display reported; the game runs without sound"
