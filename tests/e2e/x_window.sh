#!/usr/bin/env bash
# The real game in a real X window (Xvfb):
# - the window fits the display by itself: on 1920 x 1080 and 1366 x 768 X
#   screens it is scaled down to fit (the whole picture in it:
#   tests/view_test.cpp); on 2600 x 1400 it keeps its 2500 x 1300 pixels; it
#   is titled ZUBA-TRILO and carries the picture of the desktop icon;
# - without any usable sound the game still runs, and closing its window
#   quits with status 0, nothing written to standard output ('q' quits in
#   every other window script);
# - a committed demo plays to its end with --timedemo, exit status 0,
#   printing its figures. (A changed or cut-off demo gets the demo player's
#   verdict, the same in every program: tests/demo_test.cpp and
#   tests/live_demo_test.cpp.)
# Arguments: game binary, replay binary, source directory.
game=$1
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"

# Screen, expected window size.
while read -r screen expect; do
    start_xvfb "$screen"
    SDL_AUDIODRIVER=dummy start_game "$game"
    size=$(window_size)
    [ "$size" = "$expect" ] || fail "on a $screen screen the window is $size, not $expect"
    if [ "$screen" = 1920x1080 ]; then
        [ "$(xprop -id "$game_window" WM_NAME)" = 'WM_NAME(STRING) = "ZUBA-TRILO"' ] ||
            fail "the window's title is $(xprop -id "$game_window" WM_NAME)"
        # _NET_WM_ICON: width, height, then one 0xAARRGGBB per pixel.
        xprop -id "$game_window" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | tr -s ' ,=' '\n' | grep -E '^[0-9]+$' |
            awk 'NR > 2 { printf "%d\n", $1 % 256 }' >"$work/icon.txt"
        convert "$src/packaging/icons/zuba-trilo-48.png" -depth 8 gray:- | od -An -v -tu1 -w1 |
            tr -d ' ' >"$work/png.txt"
        [ -s "$work/icon.txt" ] && cmp -s "$work/icon.txt" "$work/png.txt" ||
            fail "the window's icon is not the picture of packaging/icons/zuba-trilo-48.png"
    fi
    stop_xvfb
done <<'EOF_SIZES'
1920x1080 1855x964
1366x768 1290x670
2600x1400 2500x1300
EOF_SIZES
start_xvfb

# No usable sound device: the game runs silently. Its window is closed the
# way a window manager's close button does it.
start_game env SDL_AUDIODRIVER=nonexistent "$game"
sleep 0.5
running || fail "the game did not run without sound"
c++ -std=c++20 -O1 -o "$work/x_close_window" "$src/tests/e2e/x_close_window.cpp" -lX11 2>"$work/cc.err" ||
    fail "cannot build the window-closing helper (libx11-dev: scripts/install-deps.sh --test): $(cat "$work/cc.err")"
"$work/x_close_window" "$game_window" || fail "could not ask the window to close"
wait_game
[ ! -s "$work/game.out" ] || fail "the game wrote to standard output: $(cat "$work/game.out")"

# As fast as it goes: it may end before a window search would find it
# (demo_files.sh plays it with --playdemo).
SDL_AUDIODRIVER=dummy capture_timeout=120 capture "$game" --timedemo "$src/tests/demos/short_game.demo"
[ "$status" = 0 ] || fail "--timedemo exited with status $status: $(cat "$work/err")"
grep -Eq '^timedemo: 431 passes in [0-9.]+ s, [0-9]+ passes per second$' "$work/out" &&
    grep -Eq '^frame time ms: median [0-9.]+, p95 [0-9.]+, p99 [0-9.]+, max [0-9.]+$' "$work/out" ||
    fail "--timedemo printed: $(cat "$work/out")"
echo "ok: the window fits 1920 x 1080, 1366 x 768 and 2600 x 1400 screens, with title and icon;" \
    "closing the window quits with status 0, the game runs without sound, --timedemo plays a demo"
