#!/usr/bin/env bash
# A player's files and demos, as a hostile user would try them: --record
# never writes over a file that is not a demo (nor anything when the game
# cannot start), every file that is not a demo gets one line and status 2
# from the game and the replay driver alike, without hanging; in the window,
# a killed recording leaves the old demo whole and the new one playable, a
# SIGTERM is recorded as a close, a live game with a pause, mute, F11 and a
# focus loss records a demo that plays in sync to the score the window
# showed, and F12 saves a screenshot while a demo plays.
# Arguments: game binary, replay binary, source directory.
game=$1
replay=$2
src=$3
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
export SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
old=$src/tests/demos/short_game.demo
cp "$old" "$work/old.demo"
printf 'my notes\n' >"$work/notes.txt"
cp "$game" "$work/program"
ln -s notes.txt "$work/link.demo"
mkfifo "$work/fifo.demo"
mkdir "$work/folder.demo"
: >"$work/empty.demo"
truncate -s 17M "$work/big.demo"
sums() { md5sum "$work/old.demo" "$work/notes.txt" "$work/program"; }
before=$(sums)

# One line naming the file, status 2, and no window (no display is needed).
for path in "$work/notes.txt" "$work/program" "$work/link.demo" "$work/fifo.demo" "$work/folder.demo" /dev/full; do
    capture env -u DISPLAY "$game" --record "$path"
    [ "$status" = 2 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "^zuba-trilo: $path: " "$work/err" ||
        fail "--record $path gave status $status and: $(cat "$work/err")"
    [ -e "$path.part" ] && fail "--record $path left $path.part"
done
[ "$before" = "$(sums)" ] || fail "a refused --record changed a file"

# The game cannot start: nothing is created and nothing emptied.
for path in "$work/old.demo" "$work/new.demo"; do
    capture env -u DISPLAY -u SDL_VIDEODRIVER "$game" --record "$path"
    [ "$status" = 255 ] && grep -q "SDL initialize error." "$work/out" ||
        fail "without a display --record gave status $status and: $(cat "$work/out" "$work/err")"
    [ -e "$path.part" ] && fail "a game that could not start left $path.part"
done
[ -e "$work/new.demo" ] && fail "a game that could not start created its demo"
[ "$before" = "$(sums)" ] || fail "a game that could not start changed the old demo"

# Reading: one line and status 2, from both programs, never a hang.
for path in "$work/empty.demo" "$work/folder.demo" "$work/fifo.demo" /dev/zero "$work/big.demo" "$work/notes.txt"; do
    for program in "$game --playdemo" "$game --timedemo" "$replay"; do
        capture env -u DISPLAY $program "$path"
        [ "$status" = 2 ] && [ "$(wc -l <"$work/err")" -le 2 ] && grep -q "$path:" "$work/err" ||
            fail "$program $path gave status $status and: $(cat "$work/err")"
    done
done
# The replay driver ships with the game, so it answers --help and --version.
"$replay" --help >"$work/out" 2>&1 && grep -q "^usage: zuba-trilo-replay SCRIPT" "$work/out" ||
    fail "zuba-trilo-replay --help: $(cat "$work/out")"
[ "$("$replay" --version)" = "$("$game" --version | sed 's/^zuba-trilo /zuba-trilo-replay /')" ] ||
    fail "zuba-trilo-replay --version: $("$replay" --version 2>&1)"

start_xvfb
# Killed while recording: the old demo whole, the recording so far playable.
start_game "$game" --record "$work/old.demo"
sleep 7  # past the first flush of the recording
kill -KILL "$game_pid"
wait_game any
[ "$before" = "$(sums)" ] || fail "a killed recording changed the old demo"
[ -s "$work/old.demo.part" ] || fail "a killed recording left no $work/old.demo.part"
capture "$replay" "$work/old.demo.part"
[ "$status" = 0 ] || [ "$status" = 3 ] || fail "the killed recording does not play: $status $(cat "$work/err")"
# Until it is moved away, the next recording is refused and says why.
env -u DISPLAY "$game" --record "$work/old.demo" 2>"$work/err"
[ $? = 2 ] && grep -q "old.demo.part: already there" "$work/err" || fail "a .part left over: $(cat "$work/err")"
rm "$work/old.demo.part"

# SIGTERM ends the recording as a window close, and the new demo replaces the old.
start_game "$game" --record "$work/old.demo"
sleep 2
kill -TERM "$game_pid"
wait_game
[ -e "$work/old.demo.part" ] && fail "a finished recording left its .part"
[ "$before" != "$(sums)" ] || fail "the finished recording did not replace the old demo"
[ "$(grep -v '^#' "$work/old.demo" | tail -1 | cut -d' ' -f2)" = close ] || fail "SIGTERM is not recorded as close"
"$replay" "$work/old.demo" 2>"$work/err" || fail "the SIGTERM recording does not play in sync: $(cat "$work/err")"

# A live game with a pause, mute, fullscreen both ways and a focus loss (the
# window minimised, under a window manager) records a demo that plays in sync
# to the score the window showed.
start_window_manager
start_game "$game" --record "$work/live.demo"
xdotool windowfocus --sync "$game_window" 2>/dev/null
sleep 1.4; press z 0.1; sleep 1; press z 0.1; sleep 2.5   # splash, title, countdown
press Right 0.6; press z 0.1
press p 0.1; sleep 1; press p 0.1
press m 0.1; press Right 0.3; press m 0.1
press F11 0.1; sleep 1.5; press Left 0.3; press F11 0.1; sleep 1.5
xdotool windowfocus --sync "$game_window" 2>/dev/null
press z 0.1
xdotool windowminimize --sync "$game_window"; sleep 1
xdotool windowactivate --sync "$game_window" 2>/dev/null || xdotool windowmap --sync "$game_window"
sleep 0.5; press p 0.1; press Left 0.5; press z 0.5; sleep 6   # every shot landed, the panel still
window_shot "$work/window.ppm"
press q 0.1
wait_game
grep -Eq '^[0-9]+ right$' "$work/live.demo" && grep -Eq '^[0-9]+ left$' "$work/live.demo" ||
    fail "the live demo lacks the moves: $(cat "$work/live.demo")"
last=$(awk '!/^#/ { n += $1 } END { print n - 1 }' "$work/live.demo")
"$replay" "$work/live.demo" --dump "$last:$work/last.ppm" 2>"$work/err" ||
    fail "a live demo with pause, mute, F11 and focus loss: $(cat "$work/err")"
for f in window last; do convert "$work/$f.ppm" -crop 100x28+2400+30 +repage "$work/score_$f.ppm"; done
same_picture "$work/score_window.ppm" "$work/score_last.ppm" || fail "the replay's final score is not the window's"
SDL_AUDIODRIVER=dummy timeout 120 "$game" --timedemo "$work/live.demo" >/dev/null 2>"$work/err" ||
    fail "the live demo in the window: $(cat "$work/err")"

# F12 while a demo plays saves a screenshot, and the demo plays on in sync.
start_game "$game" --playdemo "$old"
xdotool key --window "$game_window" F12
wait_game
shot=$(head -1 "$work/game.out")
[ -s "$shot" ] && [ "${shot%.png}" != "$shot" ] || fail "F12 during --playdemo saved no screenshot: $(cat "$work/game.out" "$work/game.err")"
echo "ok: --record refuses every file that is not a demo and leaves nothing when the game cannot start;" \
    "bad demos get one line; a killed recording keeps the old demo; SIGTERM is a close; a live demo with" \
    "pause, mute, F11 and focus loss plays in sync; F12 works in --playdemo"
