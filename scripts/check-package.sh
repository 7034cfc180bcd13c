#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, checks what it put
# where, starts the installed game headless, and removes the package again.
#
#   bash scripts/check-package.sh        (as root, or with sudo at hand)
#
# If zuba-trilo was installed before, it is removed at the end all the same.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

bash scripts/install-deps.sh --test  # Xvfb and xdotool for the windowed run
make --no-print-directory package BUILD="$BUILD" >/dev/null
debs=("$BUILD"/zuba-trilo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $BUILD, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $deb"
dpkg-deb -f "$deb" Depends | sed 's/^/depends: /'

game_pid=""
xvfb_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq zuba-trilo >/dev/null 2>&1 || true
}
trap cleanup EXIT

# apt wants a path with a slash to take a file rather than a package name.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null

listed=$(dpkg -L zuba-trilo)
for path in /usr/bin/zuba-trilo \
            /usr/share/applications/zuba-trilo.desktop \
            /usr/share/icons/hicolor/48x48/apps/zuba-trilo.png \
            /usr/share/icons/hicolor/256x256/apps/zuba-trilo.png; do
    grep -qx "$path" <<<"$listed" || fail "dpkg -L zuba-trilo does not list $path"
    [ -e "$path" ] || fail "$path is listed but not installed"
done
grep -Eqx '/usr/share/man/man6/zuba-trilo\.6(\.gz)?' <<<"$listed" ||
    fail "dpkg -L zuba-trilo does not list the manual page"
echo "installed: $(grep -E 'zuba-trilo' <<<"$listed" | tr '\n' ' ')"

# Headless with SDL's dummy drivers: there is no window to send a key to, so
# after a few seconds it gets SIGTERM. SDL usually turns that into a quit
# (status 0); killed before SDL has set up its handler it ends with 143.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/zuba-trilo &
game_pid=$!
sleep 3
kill -0 "$game_pid" 2>/dev/null || fail "the installed game stopped within 3 s with the dummy drivers"
kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || [ "$status" -eq 143 ] || fail "SIGTERM ended the game with status $status"
echo "dummy drivers: ran 3 s, stopped by SIGTERM (status $status)"

# On a virtual X display, which fits the 2500 x 1300 window: the player's quit
# key ends it with status 0.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
display=$(cat "$display_file")
rm -f "$display_file"
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
SDL_AUDIODRIVER=dummy /usr/bin/zuba-trilo &
game_pid=$!
sleep 3
kill -0 "$game_pid" 2>/dev/null || fail "the installed game stopped within 3 s on Xvfb"
window=$(xdotool search --sync --pid "$game_pid" | head -n 1)
xdotool windowfocus --sync "$window"
xdotool key q
for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not quit on 'q'"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the game quit on 'q' with status $status, not 0"
echo "Xvfb: ran 3 s, quit on 'q' with status 0"

cleanup
trap - EXIT
dpkg -s zuba-trilo >/dev/null 2>&1 && fail "zuba-trilo is still installed after removal"
echo "check-package: OK"
