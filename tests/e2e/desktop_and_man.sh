#!/usr/bin/env bash
# The desktop entry, the manual page and the icons are valid, and
# `cmake --install` puts each where a desktop looks for it.
# Args: $1 game binary, $2 replay binary (unused), $3 source dir.
set -euo pipefail
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
game=$1
src=$3
build=$(dirname "$game")
for tool in desktop-file-validate man; do
    command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/install-deps.sh --test)"
done

# The desktop entry validates silently.
desktop="$src/packaging/zuba-trilo.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate warns: $out"

# The manual page formats without a single warning and covers what a player
# needs beyond the game itself.
page="$src/packaging/zuba-trilo.6"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/page.txt") || fail "man failed: $warnings"
[ -z "$warnings" ] || fail "man --warnings: $warnings"
for topic in CONTROLS Joystick 'Screen cycle' SDL12COMPAT_WINDOW_SCALING SDL_VIDEODRIVER \
             SDL_AUDIODRIVER 'EXIT STATUS' 'SDL initialize error.'; do
    tr -s ' \n' '  ' <"$work/page.txt" | grep -qF "$topic" || fail "the manual page says nothing about $topic"
done

# The checked-in icons (the Windows one included) are what their generator draws from today's sprites
# (when Python is here to run it; the build itself never needs it).
if command -v python3 >/dev/null; then
    python3 "$src/packaging/make-icons.py" "$work/icons"
    for icon in zuba-trilo-48.png zuba-trilo-192.png zuba-trilo-256.png zuba-trilo-512.png zuba-trilo.ico; do
        cmp -s "$work/icons/$icon" "$src/packaging/icons/$icon" ||
            fail "packaging/icons/$icon is stale: run python3 packaging/make-icons.py"
    done
fi

# Installing into a fresh prefix gives the desktop layout.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
for path in bin/zuba-trilo share/applications/zuba-trilo.desktop \
            share/icons/hicolor/48x48/apps/zuba-trilo.png \
            share/icons/hicolor/256x256/apps/zuba-trilo.png \
            share/metainfo/example.zubatrilo.ZubaTrilo.metainfo.xml; do
    [ -f "$work/prefix/$path" ] || fail "cmake --install did not install $path"
done
grep -qx "Exec=$work/prefix/bin/zuba-trilo" "$work/prefix/share/applications/zuba-trilo.desktop" ||
    fail "the installed desktop entry does not start the installed game"
[ -x "$work/prefix/bin/zuba-trilo" ] || fail "the installed game is not executable"
[ ! -e "$work/prefix/bin/zuba-trilo-replay" ] || fail "the replay driver is a developer's tool, not installed"
# The installed page is the same page, compressed or not.
installed_page=$(ls "$work/prefix/share/man/man6/zuba-trilo.6"* 2>/dev/null) || fail "cmake --install did not install the manual page"
gzip -dcf "$installed_page" | cmp -s - "$page" || fail "the installed manual page differs"
echo "desktop entry, manual page, icons and install layout OK"
