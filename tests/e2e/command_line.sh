#!/usr/bin/env bash
# The game's command line: --help and --version print and exit 0; a bad
# option or value prints one line saying what was wrong and the usage on
# standard error and exits 2, before SDL starts (no window is ever opened:
# with a video driver that cannot start, reaching SDL would end in 255).
# Arguments: game binary, replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
game=$1
src=$3
run() {
    SDL_VIDEODRIVER=nonexistent timeout 20 "$game" "$@" >"$work/out" 2>"$work/err"
    status=$?
}

run --help
[ "$status" = 0 ] || fail "--help exited with $status"
grep -q '^Usage: zuba-trilo' "$work/out" || fail "--help printed no usage"
for option in --fullscreen --window --scale --frame-stats --help --version; do
    grep -q -- "^  $option" "$work/out" || fail "--help does not describe $option"
done
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
done <<'EOF_CASES'
--fulscreen|unknown option '--fulscreen'
--scale 3|--scale wants a number from 0.25 to 2.0, not '3'
--window --scale|option '--scale' needs a value
--record|option '--record' needs a value
game.txt|unknown option 'game.txt'
EOF_CASES

# A settings path that is no file is one line naming it as given, and the
# game goes on with the defaults: a FIFO is never waited on.
mkfifo "$work/fifo"
mkdir "$work/folder"
for path in "$work/fifo" "$work/folder" "$work/../$(basename "$work")/folder"; do
    run --settings "$path"
    [ "$status" = 255 ] || fail "--settings $path did not go on to start the game (status $status)"
    case $(head -1 "$work/err") in
        "$path: "*"not a settings file; using the defaults") ;;
        *) fail "--settings $path said '$(head -1 "$work/err")'" ;;
    esac
done

# SDL's scaling variable is held to the rule of --scale: one line naming it,
# no usage (the command line was fine), status 2 before SDL starts.
for value in 100 nan ''; do
    SDL12COMPAT_WINDOW_SCALING=$value run --fullscreen
    [ "$status" = 2 ] || fail "SDL12COMPAT_WINDOW_SCALING='$value' exited with $status, not 2"
    [ "$(cat "$work/err")" = "zuba-trilo: SDL12COMPAT_WINDOW_SCALING wants a number from 0.25 to 2.0 (or to be unset), not '$value'" ] ||
        fail "SDL12COMPAT_WINDOW_SCALING='$value' said '$(cat "$work/err")'"
done
SDL12COMPAT_WINDOW_SCALING=0.5 run
[ "$status" = 255 ] || fail "SDL12COMPAT_WINDOW_SCALING=0.5 did not start the game (status $status)"

# Good options go on to start SDL, which fails here as it always did.
run --fullscreen --scale 0.5 --frame-stats
[ "$status" = 255 ] || fail "good options did not start the game (status $status)"
echo "ok: --help, --version, bad options and settings paths that are no file"
