#!/usr/bin/env bash
# Builds the Debian package with `make package`, lints it (lintian: no errors
# and no warnings; information tags are printed), validates its AppStream
# metainfo and desktop entry, installs it on this machine, checks what it put
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

# Xvfb and xdotool for the windowed run; lintian and the validators.
bash scripts/install-deps.sh --test --package
tree_state() { git status --porcelain --untracked-files=all 2>/dev/null || true; }
before=$(tree_state)
make --no-print-directory package BUILD="$BUILD" >/dev/null
debs=("$BUILD"/zuba-trilo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $BUILD, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $deb"
dpkg-deb -f "$deb" Depends | sed 's/^/depends: /'

# The changelog's version is the project's version in CMakeLists.txt.
project_version=$(sed -n 's/^project(zuba_trilo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog_version=$(dpkg-parsechangelog -S Version)
[ "$changelog_version" = "$project_version" ] ||
    fail "debian/changelog is at $changelog_version but CMakeLists.txt at $project_version"

# The source tree is left as it was: the build's droppings are cleaned away
# or ignored, and nothing is left in the parent folder.
[ "$(tree_state)" = "$before" ] || fail "the package build changed the source tree: $(tree_state)"
leftovers=$(find .. -maxdepth 1 -name 'zuba-trilo*_*' -newer debian/changelog)
[ -z "$leftovers" ] || fail "the package build left files outside the checkout: $leftovers"

lintian_out=$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -v '^N:' |
              grep -v 'running with root privileges' || true)
echo "lintian:"
if [ -n "$lintian_out" ]; then sed 's/^/  /' <<<"$lintian_out"; else echo "  (no tags)"; fi
grep -Eq '^[EW]: ' <<<"$lintian_out" && fail "lintian reports errors or warnings"

# The metainfo and the desktop entry as installed by the package.
tmp=$(mktemp -d)
dpkg-deb -x "$deb" "$tmp"
appstreamcli validate --no-net "$tmp"/usr/share/metainfo/*.metainfo.xml ||
    { rm -rf "$tmp"; fail "appstreamcli validate failed"; }
desktop_out=$(desktop-file-validate "$tmp/usr/share/applications/zuba-trilo.desktop" 2>&1) &&
    [ -z "$desktop_out" ] || { rm -rf "$tmp"; fail "desktop-file-validate: $desktop_out"; }
grep -qx 'Exec=/usr/games/zuba-trilo' "$tmp/usr/share/applications/zuba-trilo.desktop" ||
    { rm -rf "$tmp"; fail "the desktop entry does not start /usr/games/zuba-trilo"; }
rm -rf "$tmp"
echo "appstreamcli and desktop-file-validate: OK"

game_pid=""
xvfb_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 remove -y -qq zuba-trilo \
        >/dev/null 2>&1 || true
}
trap cleanup EXIT

# apt wants a path with a slash to take a file rather than a package name; it
# waits up to 10 minutes for the package manager's lock.
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq "./$deb" >/dev/null

listed=$(dpkg -L zuba-trilo)
for path in /usr/games/zuba-trilo \
            /usr/share/applications/zuba-trilo.desktop \
            /usr/share/icons/hicolor/48x48/apps/zuba-trilo.png \
            /usr/share/icons/hicolor/256x256/apps/zuba-trilo.png \
            /usr/share/metainfo/example.zubatrilo.ZubaTrilo.metainfo.xml \
            /usr/share/doc/zuba-trilo/copyright; do
    grep -qx "$path" <<<"$listed" || fail "dpkg -L zuba-trilo does not list $path"
    [ -e "$path" ] || fail "$path is listed but not installed"
done
grep -Eqx '/usr/share/man/man6/zuba-trilo\.6(\.gz)?' <<<"$listed" ||
    fail "dpkg -L zuba-trilo does not list the manual page"
echo "installed: $(grep -E 'zuba-trilo' <<<"$listed" | tr '\n' ' ')"

# Headless with SDL's dummy drivers: there is no window to send a key to, so
# after a few seconds it gets SIGTERM. SDL usually turns that into a quit
# (status 0); killed before SDL has set up its handler it ends with 143.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/games/zuba-trilo &
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
Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
display=$(cat "$display_file")
rm -f "$display_file"
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
SDL_AUDIODRIVER=dummy /usr/games/zuba-trilo &
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
