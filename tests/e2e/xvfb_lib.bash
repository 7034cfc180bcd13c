# Shared by the end-to-end tests: a scratch folder $work, fail and capture, and for
# those that run the game in a real X server, start_xvfb and the helpers
# below; everything started here is stopped on exit. Unset variables are
# errors, and a player's SDL12COMPAT_WINDOW_SCALING never reaches a test.
# (Not itself a test: only tests/e2e/*.sh are run.)
set -u
unset SDL12COMPAT_WINDOW_SCALING
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
wm_pid=""

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a command (for at most $capture_timeout s, 60 by default), its output
# into $work/out and its errors into $work/err; sets status.
capture() {
    timeout "${capture_timeout:-60}" "$@" >"$work/out" 2>"$work/err"
    status=$?
}

# Starts Xvfb on a free display (2600 x 1400, or the size given as WxH, 24
# bits) and exports DISPLAY. The numbers tried begin at a random one from
# 200 up, far from the :0, :1 and :99 that desktops and other tools take, so
# that tests run at once seldom even try the same one. The server never
# resets: by default Xvfb resets when its last client leaves, and a client
# connecting in that moment (the game, just after the xdpyinfo below) is
# refused now and then.
start_xvfb() {
    local size=${1:-2600x1400}
    local first=$((200 + RANDOM % 5000)) n
    for n in $(seq "$first" $((first + 63))); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        local i
        for i in $(seq 50); do
            # The display is ours only when the lock names our server: two
            # tests starting at once may both try the same number, and the
            # loser would otherwise talk to the winner's server.
            if [ -e "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1 &&
                [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        # Lost a race for this display, or the server did not come up.
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    fail "no free X display for Xvfb"
}

# Starts the openbox window manager on the display start_xvfb opened, as a
# player's desktop has one (it places, resizes and switches windows); it is
# stopped with the rest.
start_window_manager() {
    command -v openbox >/dev/null || fail "openbox is not installed (scripts/install-deps.sh --test)"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    sleep 1
}

# Stops the game and the X server started last.
stop_xvfb() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    game_pid=""
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
}

# Starts the game ($1, more arguments after) in the background and waits (up
# to 20 s) for its window, the one titled ZUBA-TRILO (under Wine the process
# has an input-method window as well); sets game_pid and game_window. The
# search is repeated rather than left to xdotool's --sync: xdotool gives up
# at once when a window vanishes under it, as Wine's short-lived helper
# windows do.
start_game() {
    "$@" >"$work/game.out" 2>"$work/game.err" &
    game_pid=$!
    game_window=""
    retry 100 0.2 window_or_end
    if [ -z "$game_window" ]; then
        # Say why: a game that ended at once says so on its error stream.
        running || { wait "$game_pid"; echo "the game ended with status $?" >&2; }
        cat "$work/game.out" "$work/game.err" >&2
        fail "the game's window did not appear"
    fi
}
window_or_end() {
    game_window=$(xdotool search --all --pid "$game_pid" --name '^ZUBA-TRILO$' 2>/dev/null | head -1 || true)
    [ -n "$game_window" ] || ! running
}
running() { kill -0 "$game_pid" 2>/dev/null; }
ended() { ! running; }

# Runs a command (as retry does) while the game runs: fails the test as soon
# as the game has ended, with what it said.
while_running() {
    running || fail "the game ended: $(cat "$work/game.err")"
    "$@"
}

# Waits (up to 20 s) for the game to end; sets game_status, and fails
# unless it is 0 ("wait_game any" takes every status).
wait_game() {
    retry 200 0.1 ended || fail "the game did not quit"
    wait "$game_pid"
    game_status=$?
    game_pid=""
    [ "${1:-}" = any ] || [ "$game_status" = 0 ] || fail "the game ended with status $game_status: $(cat "$work/game.err")"
}

# Quits the game with q, sent to its window, and waits for it to end with 0.
quit_game() {
    xdotool key --window "$game_window" q
    wait_game
}

# Writes what the game's window shows (or the part $2, WxH+X+Y, of it), as an
# 8-bit PPM, into $1, from a screenshot of the whole screen.
window_shot() {
    local geometry
    geometry=$(xwininfo -id "$game_window" |
        awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "+" y}')
    import -window root -crop "$geometry" +repage -depth 8 "$1" || fail "import could not take a screenshot"
    [ -z "${2:-}" ] || convert "$1" -crop "$2" +repage "$1"
}

# True when two pictures are the same pixel for pixel.
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# True when the window shows the same picture $2 seconds apart; the second
# shot is left in $1.
still() {
    window_shot "$work/still.ppm"
    sleep "$2"
    window_shot "$1"
    same_picture "$work/still.ppm" "$1"
}

# The game window's size, WxH, as the X server has it.
window_size() { xwininfo -id "$game_window" 2>/dev/null | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h}'; }

# Waits (up to 10 s) for the game's window to reach size $1; fails the test
# when the game ends meanwhile.
wait_size() { retry 50 0.2 while_running size_is "$1"; }
size_is() { [ "$(window_size)" = "$1" ]; }

# True when a part (WxH+X+Y) of the game's window has a pixel that is not
# black (lit), or none (dark).
lit() {
    window_shot "$work/part.ppm" "$1"
    [ "$(convert "$work/part.ppm" -format '%[max]' info:)" != 0 ]
}
dark() { ! lit "$1"; }

# Waits (up to 20 s) until the part $1 of the window lights up; fails the
# test when the game ends meanwhile.
wait_for() { retry 80 0.25 while_running lit "$1"; }

# Runs a command until it succeeds, at most $1 times, $2 seconds apart;
# false when it never did.
retry() {
    local times=$1 pause=$2 _
    shift 2
    for _ in $(seq "$times"); do
        "$@" && return 0
        sleep "$pause"
    done
    return 1
}

# Presses key $1 for a moment a player would hold it (0.3 s, or $2).
press() {
    xdotool keydown "$1"
    sleep "${2:-0.3}"
    xdotool keyup "$1"
}
