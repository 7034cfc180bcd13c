#!/usr/bin/env bash
# Frame rate of the real game in a real, software-rendered X window (Xvfb),
# played with xdotool: the splash is skipped, a game started, then fire is
# held while the cannon moves left and right; the game's --frame-stats
# figures and the machine's load are printed. Figures only, never pass/fail.
#
#   bench/window_fps.sh [GAME] [SCREEN] [SECONDS] [-- GAME OPTIONS...]
#
# GAME defaults to build/zuba-trilo, SCREEN to 1920x1080, SECONDS to 20.
# Environment variables are passed on to the game (for example an SDL hint
# to compare with the game's own choice). A Windows build's zuba-trilo.exe
# plays under Wine, in $WINEPREFIX or else a fresh prefix made for the run
# (the CPU time of Wine's own server is not counted).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
game=${1:-$here/build/zuba-trilo}
screen=${2:-1920x1080}
seconds=${3:-20}
shift $(( $# < 3 ? $# : 3 ))
[ "${1:-}" = "--" ] && shift
# The end-to-end tests' X helpers: a free Xvfb display, the game started and
# its window found, both stopped on exit.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$here/tests/e2e/xvfb_lib.bash"
start_xvfb "$screen"
run=("$game")
if [[ $game == *.exe ]]; then
    export WINEPREFIX=${WINEPREFIX:-$work/wine} WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
    run=(wine "$game")
fi
SDL_AUDIODRIVER=dummy start_game "${run[@]}" --frame-stats "$@"
window=$game_window
xdotool windowfocus "$window" 2>/dev/null
# Skip the splash, start a game; the first frames ignore fire.
sleep 2.5
for _ in 1 2 3; do xdotool keydown z; sleep 0.3; xdotool keyup z; sleep 0.5; done
sleep 1.5
# CPU time (ticks of 1/100 s) of the game and of the X server while playing:
# on a busy machine the wall-clock figures suffer, these show the work.
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
game_cpu0=$(cpu "$game_pid"); x_cpu0=$(cpu "$xvfb_pid")
xdotool keydown z
end=$((SECONDS + seconds))
key=Left
while [ "$SECONDS" -lt "$end" ]; do
    xdotool keydown "$key"; sleep 1.2; xdotool keyup "$key"
    [ "$key" = Left ] && key=Right || key=Left
done
xdotool keyup z
game_cpu=$(( $(cpu "$game_pid") - game_cpu0 )); x_cpu=$(( $(cpu "$xvfb_pid") - x_cpu0 ))
load=$(uptime | sed 's/.*load average: //')
size=$(xwininfo -id "$window" | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h}')
xdotool key q
wait_game
echo "screen $screen, window $size, options: ${*:-none}, ${seconds}s, load $load"
tr -d '\r' <"$work/game.out" >"$work/stats.txt"
cat "$work/stats.txt"
frames=$(awk '/^frames presented:/{print $3}' "$work/stats.txt")
[ -n "$frames" ] && [ "$frames" -gt 0 ] &&
    awk -v g="$game_cpu" -v x="$x_cpu" -v f="$frames" \
        'BEGIN{printf "cpu ms per frame: game %.2f, X server %.2f\n", g * 10 / f, x * 10 / f}'
