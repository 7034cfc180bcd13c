#!/usr/bin/env bash
# The real window's throughput: a demo played with --timedemo in a real,
# software-rendered X window (Xvfb), as fast as it goes, every frame
# presented; then the same demo through the headless replay driver's
# --timedemo for comparison. Figures only, never pass/fail.
#
#   bench/window_timedemo.sh [BUILD] [SCREEN] [DEMO]
#
# BUILD defaults to build, SCREEN to 1920x1080 (the window fitted to
# 1855 x 964; 2600x1400 keeps it unscaled), DEMO to the first 6000 passes of
# bench/aggressive_game.script (a game under way, bombs falling).
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
screen=${2:-1920x1080}
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$here/tests/e2e/xvfb_lib.bash"
demo=${3:-}
if [ -z "$demo" ]; then
    demo=$work/aggressive_6000.script
    awk '/^#/ { next } { if (n + $1 > 6000) exit; print; n += $1 }' "$here/bench/aggressive_game.script" >"$demo"
    echo "1 escape" >>"$demo"
fi
echo "load: $(uptime | sed 's/.*load average: //')"
start_xvfb "$screen"
echo "window on $screen, $(awk '!/^#/ { n += $1 } END { print n }' "$demo") passes:"
SDL_AUDIODRIVER=dummy "$build/zuba-trilo" --timedemo "$demo"
echo "headless replay driver:"
"$build/zuba-trilo-replay" "$demo" --timedemo | sed -n '1,2p;6p'
