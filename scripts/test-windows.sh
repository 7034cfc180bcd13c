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
#   - at 144 and 192 DPI the window is the same, fitted in real pixels;
#   - its sound, through Wine's ALSA driver into a file: the start chime at
#     its moment and level (the Linux test, tests/e2e/audio_capture.sh);
#     muted, silence;
#   - the installer asks for no administrator rights; it installs silently
#     for the player alone by default (%LOCALAPPDATA%\Programs, the user's
#     Start menu and installed apps) and for all users with /AllUsers
#     (Program Files, the machine's); each time the installed game answers
#     --version, the shortcut and the uninstall entry are there, and the
#     silent uninstall removes the program, the shortcut and the entry and
#     leaves the player's settings and screenshots; the game installed
#     for the player is not portable even with portable.txt beside it;
#   - the zip unpacked with portable.txt beside the exe keeps its settings
#     and screenshot (F12) beside the exe, and in %APPDATA% where it cannot;
#     the screenshot paths it prints have backslashes only;
#   - SHA256SUMS holds the right sums of the zip and the installer.
#   - the committed Linux demo plays in sync in the Windows game, and one
#     recorded by the Windows game in LINUX_REPLAY, the Linux replay driver.
#   - a read-only settings file and one with a bad line are left as they
#     were when mute changes, with a message; --record refuses a text file
#     and a read-only demo (status 2) and replaces an old demo at the end,
#     leaving no .part.
#   scripts/test-windows.sh BUILD SOURCE LINUX_REPLAY
# Wine is not Windows: this is what can be checked on Debian, not a
# substitute for playing on Windows.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
linux_replay=$(realpath "$3")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$build/zuba-trilo-$version-win64
setup=$build/zuba-trilo-$version-win64-setup.exe
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
for f in "$stage/zuba-trilo.exe" "$stage/zuba-trilo-replay.exe" "$setup" "$linux_replay"; do
    [ -f "$f" ] || fail "$f is missing: run make windows"
done
(cd "$build" && [ "$(cut -d' ' -f3 SHA256SUMS | tr '\n' ' ')" = "zuba-trilo-$version-win64.zip zuba-trilo-$version-win64-setup.exe " ] &&
    sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS is not the sums of the zip and the installer"
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
start_window_manager
trap 'wineserver -k 2>/dev/null; cleanup' EXIT
step_done "a fresh Wine prefix on Xvfb 1920x1080"

for exe in zuba-trilo zuba-trilo-replay; do
    strings -el "$stage/$exe.exe" | grep -qx "$version" || fail "$exe.exe has no version $version in its resources"
    grep -q "PerMonitorV2" "$stage/$exe.exe" || fail "$exe.exe has no per-monitor DPI-aware manifest"
done

# The unit tests, built for Windows (make's target windows-tests), each
# suite run whole under Wine with SDL's dummy drivers, as CTest runs them on
# Linux. LINUX_ONLY names the cases that cannot run on Windows, with why.
# The cases that set up a FIFO, a link, a folder's mode, a file size limit
# or POSIX threads are not built for Windows at all (#ifndef _WIN32); the
# same rules are tried on the Windows game itself further down.
# SDL's software renderer, as the replay driver asks for: nothing is shown,
# and SDL 2 would otherwise draw even the dummy driver's window through
# Direct3D, under Wine without a graphics card ten times slower.
LINUX_ONLY=(
    # It steps in front of SDL_UpdateRects with Linux's dynamic linker.
    Presenter.APresentUpdatesEveryChangedTileOfTheWindowAndNoOther
)
sdl_bin=$(sed -n 's/^ZUBA_WINDOWS_DEPS:PATH=//p' "$build/CMakeCache.txt")/bin
suites=("$build"/tests/test_*.exe)
[ -f "${suites[0]}" ] || fail "no unit tests in $build/tests: make test-windows builds them (target windows-tests)"
filter=$(IFS=:; echo "-${LINUX_ONLY[*]}")
total=0
for suite in "${suites[@]}"; do
    name=$(basename "$suite" .exe)
    suite_start=$(date +%s)
    (cd "$build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software WINEPATH="$(winepath -w "$sdl_bin")" \
        wine "$suite" --gtest_filter="$filter" >"$work/$name.log" 2>&1)
    status=$?
    passed=$(tr -d '\r' <"$work/$name.log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p')
    if [ "$status" != 0 ] || [ -z "$passed" ]; then
        tr -d '\r' <"$work/$name.log" | grep -E '^\[  FAILED  \]|Failure|error' | head -40 >&2
        fail "$name under Wine: status $status"
    fi
    total=$((total + passed))
    echo "$name: $passed tests, $(($(date +%s) - suite_start)) s"
done
step_done "$total unit tests of ${#suites[@]} suites pass under Wine (${#LINUX_ONLY[@]} left out as Linux's alone)"

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

# The window ($1 says when): titled, fitted (the game's shape, inside the
# screen), and the splash card drawn in its middle on black. Sets size.
fitted_window_with_splash() {
    start_game wine "$game"
    title=$(xprop -id "$game_window" WM_NAME)
    [ "$title" = 'WM_NAME(STRING) = "ZUBA-TRILO"' ] || fail "the window's title is $title $1"
    size=$(window_size)
    local w=${size%x*} h=${size#*x}
    [ "$w" -le 1920 ] && [ "$h" -le 1080 ] && [ "$w" -ge 1500 ] && [ $((w * 1300 / h)) -ge 2475 ] &&
        [ $((w * 1300 / h)) -le 2525 ] || fail "the window is $size $1: not the game's shape fitted to 1920x1080"
    local splash=""
    for _ in $(seq 40); do
        window_shot "$work/shot.ppm"
        card=$(convert "$work/shot.ppm" -crop "$((w * 242 / 2500))x$((h * 118 / 1300))+$((w * 1130 / 2500))+$((h * 592 / 1300))" \
            +repage -format '%[max]' info:)
        rest=$(convert "$work/shot.ppm" -crop "${w}x$((h * 500 / 1300))+0+0" +repage -format '%[max]' info:)
        [ "${card%.*}" -gt 20000 ] && [ "${rest%.*}" = 0 ] && splash=yes && break
        sleep 0.25
    done
    [ -n "$splash" ] || fail "the $size window shows no splash card $1"
    quit_with_q "window $1"
}
fitted_window_with_splash ""
fitted=$size
step_done "a $size window titled ZUBA-TRILO with the splash; q exits 0"

# High DPI: with the display at 144 and 192 dots per inch (Windows' scaling
# of 150 % and 200 %, Wine's LogPixels), the game is fitted in the display's
# own pixels, as at 96: the same window, the splash in the same place.
# (Wine does not scale a program that is not DPI-aware, so this cannot tell
# the manifest's awareness from its absence; the manifest is checked above.)
for dpi in 144 192; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null || fail "cannot set $dpi DPI"
    fitted_window_with_splash "at $dpi DPI"
    [ "$size" = "$fitted" ] || fail "at $dpi DPI the window is $size, at 96 DPI $fitted"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
step_done "at 144 and 192 DPI the same $fitted window with the splash"

start_game wine "$game" --fullscreen
full=""
for _ in $(seq 50); do
    [ "$(window_size)" = 1920x1080 ] && full=yes && break
    sleep 0.2
done
[ -n "$full" ] || fail "--fullscreen gave a $(window_size) window"
quit_with_q fullscreen
step_done "--fullscreen fills 1920x1080"

# Sound: what the Windows build plays, through SDL's Windows audio and
# Wine's ALSA driver into a file (ALSA's file plugin, converting to the
# format SDL's disk driver writes on Linux), checked by the Linux sound test:
# silence until fire on the title screen, then the start chime, whole, at
# its level and at its moment. Then with mute = yes: silence throughout.
mkdir "$work/home"
cat >"$work/home/.asoundrc" <<ALSA
pcm.!default {
    type plug
    slave { pcm "capture"; format S16_LE; rate 44100; channels 2 }
}
pcm.capture {
    type file
    slave.pcm "null"
    file "$work/sound.raw"
    format "raw"
}
ALSA
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null || fail "cannot choose Wine's ALSA driver"
printf '#!/bin/sh\nexec env -u SDL_AUDIODRIVER HOME="%s" wine "%s" "$@"\n' "$work/home" "$game" >"$work/game"
chmod +x "$work/game"
AUDIO_CAPTURE_STREAM=$work/sound.raw bash "$src/tests/e2e/audio_capture.sh" "$work/game" unused "$src" ||
    fail "the Windows build's sound under Wine"
rm -f "$work/sound.raw"
echo "mute = yes" >"$work/mute.ini"
start_game "$work/game" --settings "$(winepath -w "$work/mute.ini")"
# Fire held as long as the unmuted game took to reach its chime, and more.
xdotool windowfocus --sync "$game_window"
xdotool keydown z
sleep 8
xdotool keyup z
quit_with_q muted
[ -s "$work/sound.raw" ] || fail "the muted game opened no sound device"
cmp -s -n "$(stat -c %s "$work/sound.raw")" "$work/sound.raw" /dev/zero || fail "the muted game made a sound"
grep -qx 'mute = yes' "$work/mute.ini" || fail "the muted game changed its settings"
step_done "sound through Wine's ALSA: the start chime at its moment; mute = yes, silence"

# Demos across platforms: the committed demo, recorded on Linux, plays in
# sync in the Windows game (--timedemo; SDL's software renderer, as Wine's
# Direct3D without a graphics card is slow), and a demo recorded by the
# Windows game plays in sync in the Linux replay driver ($linux_replay).
SDL_RENDER_DRIVER=software timeout 300 wine "$game" --timedemo "$(winepath -w "$src/tests/demos/short_game.demo")" \
    >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 0 ] && tr -d '\r' <"$work/out" | grep -Eq '^timedemo: 431 passes in [0-9.]+ s, [0-9]+ passes per second$' ||
    fail "the Linux demo under Wine: status $status, '$(cat "$work/out" "$work/err")'"
echo "the Linux demo under Wine, software renderer: $(tr -d '\r' <"$work/out" | head -1)"
start_game wine "$game" --record "$(winepath -w "$work/wine.demo")"
xdotool windowfocus --sync "$game_window"
# Fire held past the splash and the title starts a game; then a move and a shot.
xdotool keydown z
sleep 6
xdotool keyup z keydown Right
sleep 2
xdotool keyup Right key z
sleep 1
quit_with_q recording
[ "$(grep -c '^# sync ' "$work/wine.demo")" -ge 2 ] && grep -q ' fire$' "$work/wine.demo" ||
    fail "the demo recorded under Wine: $(head -c 600 "$work/wine.demo")"
"$linux_replay" "$work/wine.demo" >/dev/null 2>"$work/err" || fail "the Wine demo on Linux: $(cat "$work/err")"
step_done "the Linux demo plays in sync under Wine, and a demo recorded under Wine on Linux"

# A player's files on Windows. A read-only settings file (the Windows
# attribute, set by attrib) and one with a line the game cannot read are
# left byte for byte when m changes mute, with one line saying so; --record
# refuses a file that is not a demo and a read-only demo (status 2, the file
# as it was); and
# recording over a demo replaces it when the game ends (a rename over an
# existing file, which Windows does not do by default), leaving no .part.
printf 'mute = no\r\nfilter = sharp\r\n' >"$work/readonly.ini"
printf 'mute = no\nthis is not a setting\n' >"$work/badline.ini"
cp "$work/badline.ini" "$work/badline.before"
cp "$work/readonly.ini" "$work/readonly.before"
wine cmd /c attrib +r "$(winepath -w "$work/readonly.ini")" >/dev/null 2>&1
# Wine keeps the attribute as the file's mode: no one may write it.
[ -z "$(find "$work/readonly.ini" -perm /222)" ] || fail "attrib +r did not make readonly.ini read-only"
for kind in readonly badline; do
    start_game wine "$game" --settings "$(winepath -w "$work/$kind.ini")"
    xdotool key --window "$game_window" m
    quit_with_q "with a $kind settings file"
    cmp -s "$work/$kind.ini" "$work/$kind.before" || fail "the $kind settings file was changed: $(cat "$work/$kind.ini")"
    [ ! -e "$work/$kind.ini.new" ] || fail "the $kind settings file has a $kind.ini.new beside it"
    case $kind in
        readonly) why="it is read-only, and is left alone" ;;
        *) why="it does not read as a settings file (1 bad line)" ;;
    esac
    [ "$(tr -d '\r' <"$work/game.err" | grep -F "$(winepath -w "$work/$kind.ini"): $why, so " | grep -c 'mute = yes')" = 1 ] ||
        fail "the game's message on a $kind settings file: $(cat "$work/game.err")"
done
echo "the player's own notes" >"$work/notes.txt"
cp "$work/notes.txt" "$work/notes.before"
wine "$game" --record "$(winepath -w "$work/notes.txt")" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 2 ] && tr -d '\r' <"$work/err" | grep -q 'is not a demo of this game, so it is not recorded over' ||
    fail "--record onto a text file: status $status, '$(cat "$work/err")'"
cmp -s "$work/notes.txt" "$work/notes.before" || fail "--record changed a text file"
cp "$src/tests/demos/short_game.demo" "$work/kept.demo"
wine cmd /c attrib +r "$(winepath -w "$work/kept.demo")" >/dev/null 2>&1
wine "$game" --record "$(winepath -w "$work/kept.demo")" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 2 ] && tr -d '\r' <"$work/err" | grep -q 'is read-only, so it is not recorded over' ||
    fail "--record onto a read-only demo: status $status, '$(cat "$work/err")'"
cmp -s "$work/kept.demo" "$src/tests/demos/short_game.demo" || fail "--record changed a read-only demo"
cp "$work/wine.demo" "$work/wine.before"
start_game wine "$game" --record "$(winepath -w "$work/wine.demo")"
[ -e "$work/wine.demo.part" ] || fail "the recording is not written into wine.demo.part"
sleep 2
quit_with_q "recording over a demo"
[ ! -e "$work/wine.demo.part" ] || fail "recording over a demo left wine.demo.part"
cmp -s "$work/wine.demo" "$work/wine.before" && fail "recording over a demo left the old demo"
"$linux_replay" "$work/wine.demo" >/dev/null 2>"$work/err" || fail "the demo recorded over a demo, on Linux: $(cat "$work/err")"
step_done "a read-only or unreadable settings file left alone, --record refuses a text file, a demo recorded over a demo"

# Plays the game ($1, a Unix path to its exe) in its window: F12 saves a
# screenshot, m mutes, q quits (status 0), and the settings are saved. Sets
# shot to the screenshot's path as the game printed it.
shoot_mute_quit() {
    start_game wine "$1"
    xdotool key --window "$game_window" F12
    for _ in $(seq 50); do
        [ -s "$work/game.out" ] && break
        sleep 0.2
    done
    xdotool key --window "$game_window" m
    quit_with_q "$1"
    shot=$(head -1 "$work/game.out" | tr -d '\r')
    [ -n "$shot" ] || fail "F12 printed no screenshot path: $(cat "$work/game.err")"
    case "$shot" in */*) fail "the screenshot's path $shot has a '/' in it" ;; esac
    [ -s "$(winepath -u "$shot")" ] || fail "no screenshot at $shot"
}

# A Windows folder of the prefix ($1, such as %LOCALAPPDATA%) as a Unix path.
win_folder() { winepath -u "$(wine cmd /c "echo $1" | tr -d '\r')" | sed 's:/$::'; }
drive=$WINEPREFIX/drive_c
appdata=$(win_folder '%APPDATA%')
[ -d "$appdata" ] || fail "no %APPDATA% in the Wine prefix: '$appdata'"

# A portable copy: the zip unpacked with portable.txt beside the exe keeps
# its settings and screenshots in the folder zuba-trilo beside the exe, and
# nothing in %APPDATA%. Where that folder cannot be made (a file has its
# name, as a folder the player cannot write would refuse it: Wine runs as
# root here, so a folder's rights would not stop it), %APPDATA% as usual.
mkdir "$drive/portable"
(cd "$drive/portable" && cmake -E tar xf "$build/zuba-trilo-$version-win64.zip") || fail "the zip does not unpack"
copy=$drive/portable/zuba-trilo-$version-win64
[ ! -e "$copy/portable.txt" ] || fail "the zip is portable already"
: >"$copy/portable.txt"
shoot_mute_quit "$copy/zuba-trilo.exe"
[ "$shot" = "$(winepath -w "$copy/zuba-trilo/screenshots")\\${shot##*\\}" ] ||
    fail "the portable copy's screenshot went to $shot"
grep -qx 'mute = yes' "$copy/zuba-trilo/settings.ini" 2>/dev/null || fail "the portable copy kept no settings beside the exe"
[ ! -e "$appdata/zuba-trilo" ] || fail "the portable copy wrote into %APPDATA%: $(find "$appdata/zuba-trilo")"
rm -r "$copy/zuba-trilo"
: >"$copy/zuba-trilo"
shoot_mute_quit "$copy/zuba-trilo.exe"
[ "$shot" = "$(winepath -w "$appdata/zuba-trilo/screenshots")\\${shot##*\\}" ] ||
    fail "a portable copy that cannot keep its files beside the exe put its screenshot in $shot"
grep -qx 'mute = yes' "$appdata/zuba-trilo/settings.ini" 2>/dev/null || fail "the unwritable portable copy kept no settings in %APPDATA%"
rm -r "$drive/portable" "$appdata/zuba-trilo"
step_done "a portable copy keeps its files beside the exe, or in %APPDATA% when it cannot"

# The installer asks for no more rights than the player has: Windows starts
# it without a UAC prompt. (Wine's user is an administrator, so the
# installer's own check that /AllUsers needs one is not reached here.)
grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "the installer asks for administrator rights"

# The player's files from an earlier game, which no uninstaller touches.
mkdir -p "$appdata/zuba-trilo/screenshots"
echo "# the player's own line" >"$appdata/zuba-trilo/settings.ini"
echo "a picture" >"$appdata/zuba-trilo/screenshots/zuba-trilo-20260101-120000.png"
players_files() { (cd "$appdata/zuba-trilo" && find . -type f -exec sha256sum {} + | sort); }

# One silent install ($1: per-user or all-users, $2: the installer's extra
# switch), checked and removed: the program where it belongs, the game
# answering --version there, the shortcut, the entry in the installed apps
# with its uninstaller, and nothing left after the silent uninstall.
install_and_remove() {
    local kind=$1 switch=$2 installed shortcut key other_key
    if [ "$kind" = per-user ]; then
        installed=$(win_folder '%LOCALAPPDATA%')/Programs/ZUBA-TRILO
        shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/ZUBA-TRILO.lnk"
        key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO'
        other_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO'
    else
        installed="$drive/Program Files/ZUBA-TRILO"
        shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/ZUBA-TRILO.lnk"
        key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO'
        other_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO'
    fi
    # shellcheck disable=SC2086 # no switch is no argument
    wine "$setup" /S $switch || fail "the silent $kind install failed"
    wineserver -w
    [ -f "$installed/zuba-trilo.exe" ] || fail "the $kind install put nothing in $installed"
    local exe_win
    exe_win=$(winepath -w "$installed/zuba-trilo.exe")
    [ "$(wine "$exe_win" --version | tr -d '\r')" = "zuba-trilo $version" ] ||
        fail "the game installed $kind does not answer --version"
    [ -f "$shortcut" ] || fail "no Start menu shortcut for the $kind install"
    if [ "$kind" = per-user ]; then
        # An installed copy is never portable, even where the player could
        # write beside the exe.
        : >"$installed/portable.txt"
        shoot_mute_quit "$installed/zuba-trilo.exe"
        [ "$shot" = "$(winepath -w "$appdata/zuba-trilo/screenshots")\\${shot##*\\}" ] ||
            fail "the installed game, with portable.txt beside it, put its screenshot in $shot"
        rm "$installed/portable.txt"
    fi
    wine reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "$version" || fail "no $kind uninstall entry for $version"
    wine reg query "$key" /v UninstallString 2>/dev/null | grep -qF "$(winepath -w "$installed/uninstall.exe")" ||
        fail "the $kind uninstall entry does not name its uninstaller"
    wine reg query "$other_key" >/dev/null 2>&1 && fail "the $kind install wrote $other_key as well"
    [ "$kind" = per-user ] && [ -e "$drive/Program Files/ZUBA-TRILO" ] && fail "the per-user install wrote into Program Files"
    local before
    before=$(players_files)
    wine "$(winepath -w "$installed/uninstall.exe")" /S || fail "the silent $kind uninstall failed"
    wineserver -w
    [ ! -e "$installed" ] || fail "the $kind uninstall left $(ls "$installed")"
    [ ! -e "$shortcut" ] || fail "the $kind uninstall left the Start menu shortcut"
    wine reg query "$key" >/dev/null 2>&1 && fail "the $kind uninstall left its entry in the installed apps"
    [ "$(players_files)" = "$before" ] || fail "the $kind uninstall touched the player's settings or screenshots"
}
# The installer and the uninstaller, both silent. (The uninstaller copies
# itself away to delete its own file: wineserver -w waits for it.)
install_and_remove per-user ""
install_and_remove all-users /AllUsers
step_done "the silent installs, per-user by default and for all users with /AllUsers, and their uninstalls"
echo "ok: the Windows build under Wine, $(($(date +%s) - run_start)) s"
