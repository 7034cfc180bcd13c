#!/usr/bin/env bash
# The Windows build under Wine (`make test-windows`, not part of `make test`):
# the dependency build refuses a wrong tarball; then in a fresh Wine prefix
# on Xvfb 1920 x 1080 with openbox:
#   - the exes carry their version information and DPI-aware manifest;
#   - the replay driver's .exe plays every script of tests/replay/ and gives
#     the golden traces (the long one only with ZUBA_LONG_TESTS=1), and its
#     frame dumps equal the golden frames it can make;
#   - the game's .exe: --help and --version print and exit 0, a bad option
#     exits 2 with its error; the window is titled ZUBA-TRILO, fits the
#     screen and draws the splash; q exits 0; --fullscreen fills 1920 x 1080;
#   - the installer installs silently, the installed game answers --version,
#     the Start menu shortcut and the uninstall entry are there, and the
#     silent uninstall removes the program, the shortcut and the entry.
#   scripts/test-windows.sh BUILD SOURCE
# Wine is not Windows: this is what can be checked on Debian, not a
# substitute for playing on Windows.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$build/zuba-trilo-$version-win64
setup=$build/zuba-trilo-$version-win64-setup.exe
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
for f in "$stage/zuba-trilo.exe" "$stage/zuba-trilo-replay.exe" "$setup"; do
    [ -f "$f" ] || fail "$f is missing: run make windows"
done
run_start=$(date +%s)
step_start=$run_start
step_done() {
    echo "ok: $1 ($(($(date +%s) - step_start)) s)"
    step_start=$(date +%s)
}

# A tarball that is not the one expected is refused, and the message names
# both files with the sums they must have.
mkdir "$work/vendor"
echo "not SDL" >"$work/vendor/sdl12-compat-1.2.60.tar.gz"
bash "$src/scripts/build-windows-deps.sh" "$work/vendor" >/dev/null 2>"$work/deps.err" &&
    fail "the dependency build took a wrong tarball"
grep -q "libsdl2_2.26.5+dfsg.orig.tar.gz is missing" "$work/deps.err" &&
    grep -q "sdl12-compat-1.2.60.tar.gz has sha256 $(sha256sum "$work/vendor/sdl12-compat-1.2.60.tar.gz" | cut -c1-64)" "$work/deps.err" &&
    grep -q "sdl12-compat-1.2.60.tar.gz  sha256 81ddb62f" "$work/deps.err" ||
    fail "the dependency build's message: $(cat "$work/deps.err")"

# A fresh prefix; no Mono or Gecko installers, no debug chatter. SDL's
# dummy sound driver: Wine here has no sound card.
export WINEPREFIX=$work/wine WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
export SDL_AUDIODRIVER=dummy
unset SDL12COMPAT_WINDOW_SCALING ZUBA_UPDATE_GOLDEN
start_xvfb 1920x1080
wine wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot: $(tail -3 "$work/wineboot.log")"
wineserver -w
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; wineserver -k 2>/dev/null; cleanup' EXIT
step_done "a fresh Wine prefix on Xvfb 1920x1080"

for exe in zuba-trilo zuba-trilo-replay; do
    strings -el "$stage/$exe.exe" | grep -qx "$version" || fail "$exe.exe has no version $version in its resources"
    grep -q "PerMonitorV2" "$stage/$exe.exe" || fail "$exe.exe has no per-monitor DPI-aware manifest"
done

# The replay driver: the Linux end-to-end test of the golden traces, with
# the .exe under Wine as its replay driver (Wine opens the Unix paths).
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$stage/zuba-trilo-replay.exe" >"$work/replay"
chmod +x "$work/replay"
bash "$src/tests/e2e/replay_golden.sh" unused "$work/replay" "$src" || fail "the replay driver's traces under Wine"
# Its frame dumps (tests/golden/README.md): the four frames the replay driver makes.
SDL_VIDEODRIVER=dummy "$work/replay" "$src/tests/golden/screens.replay" --dump "1:$work/splash.ppm" \
    --dump "243:$work/title_prompt.ppm" --dump "273:$work/title_blank.ppm" --dump "364:$work/game_begin.ppm" \
    >/dev/null || fail "the replay driver could not dump frames"
for frame in splash title_prompt title_blank game_begin; do
    gzip -dc "$src/tests/golden/$frame.ppm.gz" | cmp -s - "$work/$frame.ppm" ||
        fail "the frame $frame differs from tests/golden/$frame.ppm.gz"
done
step_done "the replay driver gives the golden traces and frames"

# The command line, as on Linux: text on the right stream, statuses 0 and 2.
game=$stage/zuba-trilo.exe
wine "$game" --help >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 0 ] && grep -q '^Usage: zuba-trilo' "$work/out" || fail "--help: status $status, '$(head -1 "$work/out")'"
# README.txt describes every option --help lists.
for option in $(grep -o '^  --[a-z-]*' "$work/out"); do
    grep -q -- "^  $option" "$stage/README.txt" || fail "README.txt does not describe $option"
done
wine "$game" --version >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 0 ] && [ "$(tr -d '\r' <"$work/out")" = "zuba-trilo $version" ] ||
    fail "--version: status $status, '$(cat "$work/out")'"
wine "$game" --fulscreen >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 2 ] && [ "$(head -1 "$work/err" | tr -d '\r')" = "zuba-trilo: unknown option '--fulscreen'" ] &&
    [ ! -s "$work/out" ] || fail "a bad option: status $status, '$(head -1 "$work/err")'"
# SDL's stdio redirection is off: the text above came to us, not to files.
[ ! -e "$stage/stdout.txt" ] && [ ! -e "$stage/stderr.txt" ] || fail "SDL wrote stdout.txt or stderr.txt beside the exe"
step_done "--help, --version and a bad option"

window_size() { xwininfo -id "$game_window" 2>/dev/null | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h}'; }
# q ends the game, in its window or fullscreen ($1), with status 0.
quit_with_q() {
    xdotool key --window "$game_window" q
    wait_game
    [ "$game_status" = 0 ] || fail "q ended the game ($1) with status $game_status"
}

# The window: titled, fitted (the game's shape, inside the screen), and the
# splash card drawn in its middle on black.
start_game wine "$game"
title=$(xprop -id "$game_window" WM_NAME)
[ "$title" = 'WM_NAME(STRING) = "ZUBA-TRILO"' ] || fail "the window's title is $title"
size=$(window_size)
w=${size%x*} h=${size#*x}
[ "$w" -le 1920 ] && [ "$h" -le 1080 ] && [ "$w" -ge 1500 ] && [ $((w * 1300 / h)) -ge 2475 ] &&
    [ $((w * 1300 / h)) -le 2525 ] || fail "the window is $size: not the game's shape fitted to 1920x1080"
splash=""
for _ in $(seq 40); do
    window_shot "$work/shot.ppm"
    card=$(convert "$work/shot.ppm" -crop "$((w * 242 / 2500))x$((h * 118 / 1300))+$((w * 1130 / 2500))+$((h * 592 / 1300))" \
        +repage -format '%[max]' info:)
    rest=$(convert "$work/shot.ppm" -crop "${w}x$((h * 500 / 1300))+0+0" +repage -format '%[max]' info:)
    [ "${card%.*}" -gt 20000 ] && [ "${rest%.*}" = 0 ] && splash=yes && break
    sleep 0.25
done
[ -n "$splash" ] || fail "the $size window shows no splash card"
quit_with_q window
step_done "a $size window titled ZUBA-TRILO with the splash; q exits 0"

start_game wine "$game" --fullscreen
full=""
for _ in $(seq 50); do
    [ "$(window_size)" = 1920x1080 ] && full=yes && break
    sleep 0.2
done
[ -n "$full" ] || fail "--fullscreen gave a $(window_size) window"
quit_with_q fullscreen
step_done "--fullscreen fills 1920x1080"

# The installer and the uninstaller, both silent. (The uninstaller copies
# itself away to delete its own file: wineserver -w waits for it.)
drive=$WINEPREFIX/drive_c
installed="$drive/Program Files/ZUBA-TRILO"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/ZUBA-TRILO.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO'
wine "$setup" /S || fail "the silent install failed"
wineserver -w
[ -f "$installed/zuba-trilo.exe" ] || fail "nothing installed in Program Files\\ZUBA-TRILO"
[ "$(wine 'C:\Program Files\ZUBA-TRILO\zuba-trilo.exe' --version | tr -d '\r')" = "zuba-trilo $version" ] ||
    fail "the installed game does not answer --version"
[ -f "$shortcut" ] || fail "no Start menu shortcut"
wine reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "$version" || fail "no uninstall entry for $version"
wine 'C:\Program Files\ZUBA-TRILO\uninstall.exe' /S || fail "the silent uninstall failed"
wineserver -w
[ ! -e "$installed" ] || fail "the uninstall left $(ls "$installed")"
[ ! -e "$shortcut" ] || fail "the uninstall left the Start menu shortcut"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall left its entry in the installed apps"
step_done "the silent install and uninstall"
echo "ok: the Windows build under Wine, $(($(date +%s) - run_start)) s"
