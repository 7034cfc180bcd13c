#!/usr/bin/env bash
# The window fits the display by itself: on 1920 x 1080 and 1366 x 768 X
# screens it is scaled down to fit, with the cannon row and the panel on
# screen; on 2600 x 1400 it keeps its 2500 x 1300 pixels. It is titled
# ZUBA-TRILO and carries the game's icon, the picture of the desktop icon.
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
    if [ "$screen" != 2600x1400 ]; then
        # Start a game and look at the cannon (bottom left) and the score
        # panel (top right) in the scaled window.
        # (fire skips the splash, starts the game and then only shoots)
        found=""
        for _ in $(seq 40); do
            xdotool key --window "$game_window" z
            sleep 0.5
            window_shot "$work/shot.ppm"
            w=${size%x*} h=${size#*x}
            cannon=$(convert "$work/shot.ppm" -crop "$((w * 40 / 2500))x$((h * 30 / 1300))+0+$((h * 1265 / 1300))" \
                +repage -format '%[max]' info:)
            panel=$(convert "$work/shot.ppm" -crop "$((w * 75 / 2500))x$((h * 45 / 1300))+$((w * 2425 / 2500))+$((h * 30 / 1300))" \
                +repage -format '%[max]' info:)
            if [ "${cannon%.*}" -gt 20000 ] && [ "${panel%.*}" -gt 20000 ]; then
                found=yes
                break
            fi
        done
        [ -n "$found" ] || fail "on a $screen screen the cannon row or the panel is not in the window"
        [ "$screen" = 1920x1080 ] && [ -n "${ZUBA_SHOT:-}" ] && cp "$work/shot.ppm" "$ZUBA_SHOT"
    fi
    stop_xvfb
done <<'EOF_SIZES'
1920x1080 1855x964
1366x768 1290x670
2600x1400 2500x1300
EOF_SIZES
echo "ok: the window fits 1920 x 1080, 1366 x 768 and 2600 x 1400 screens, with title and icon"
