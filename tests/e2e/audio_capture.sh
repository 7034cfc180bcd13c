#!/usr/bin/env bash
# The real game in an X server of its own, its sound written to a file by
# SDL's disk audio driver (or as AUDIO_CAPTURE_STREAM says, below): fire on
# the title screen sounds the start chime, and the stream before it is
# silence. Then 'q' quits the game.
#   audio_capture.sh GAME REPLAY SOURCE_DIR
set -euo pipefail

game=$1
src=$3
chime_wav=$src/assets/embed/sound06_start.wav
chime_samples=2636  # what the game plays of the chime's block

# The disk driver writes what SDL hands the device after converting our
# 8000 Hz unsigned 8-bit mono: signed 16-bit little-endian stereo at 44100 Hz,
# whose silence is 0.
capture_rate=44100
bytes_per_frame=4

# shellcheck source=tests/e2e/xvfb_lib.bash
source "$src/tests/e2e/xvfb_lib.bash"
# AUDIO_CAPTURE_STREAM=FILE: the caller has routed the game's sound into FILE
# in the same format, and started the X server (the Windows build under
# Wine, through ALSA: scripts/test-windows.sh).
if [ -n "${AUDIO_CAPTURE_STREAM:-}" ]; then
    stream=$AUDIO_CAPTURE_STREAM
    start_game "$game"
else
    start_xvfb
    stream=$work/stream.raw
    start_game env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$stream" "$game"
fi
xdotool windowfocus --sync "$game_window"

# Hold fire: after its first 60 frames the splash gives way to the button,
# and from its 31st frame the title screen starts the game with the chime.
# Holding it through both works however slowly the frames come.
# Sets first to the place of the first byte that is not silence, if any.
heard() {
    local size
    size=$(stat -c %s "$stream" 2>/dev/null || echo 0)
    first=$(cmp -n "$size" "$stream" /dev/zero 2>/dev/null | awk '{print $5}' | tr -d ,) || true
    [ -n "$first" ]
}
xdotool keydown z
retry 900 0.1 while_running heard || fail "nothing but silence in 90 s"
first_frame=$(((first - 1) / bytes_per_frame))
# Keep capturing until the whole chime is in the file, with room to spare.
want=$(((first_frame + (chime_samples + 800) * capture_rate / 8000) * bytes_per_frame))
captured() { [ "$(stat -c %s "$stream")" -ge "$want" ]; }
retry 300 0.1 captured || true
xdotool keyup z

# 'q' is read again once the game is running.
xdotool key q
sleep 1
xdotool key q
wait_game

# Silence before the chime: everything before the first non-silent byte is
# silence by construction; that byte must come well after start-up (splash
# and title last at least 90 frames, about 1.4 s).
[ "$first_frame" -ge "$capture_rate" ] || fail "sound at $first_frame frames, before fire was read"

# Back to 8000 Hz unsigned 8-bit mono, and look for the chime's samples near
# the start of the sound: best correlation over a few samples of slack (the
# resamplers ring a little ahead of the chime).
sox -V1 -D -t raw -r $capture_rate -e signed -b 16 -c 2 -L "$stream" \
    -t raw -r 8000 -e unsigned -b 8 -c 1 "$work/stream8.raw"
sox -V1 "$chime_wav" -t raw -e unsigned -b 8 -c 1 "$work/chime_block.raw"
head -c $chime_samples "$work/chime_block.raw" >"$work/chime.raw"
onset=$((first_frame * 8000 / capture_rate))
slack=40
from=$((onset > slack ? onset - slack : 0))
result=$({
    od -An -v -tu1 "$work/chime.raw"
    echo SPLIT
    od -An -v -tu1 -j $from -N $((chime_samples + 2 * slack)) "$work/stream8.raw"
} | awk -v from=$from -v onset=$onset '
    /SPLIT/ { part = 1; next }
    { for (i = 1; i <= NF; i++) { if (!part) c[n++] = $i - 128; else x[m++] = $i - 128 } }
    END {
        best = -2
        for (o = 0; o + n <= m; o++) {
            sxy = 0; sxx = 0; syy = 0
            for (i = 0; i < n; i++) { a = c[i]; b = x[o + i]; sxy += a * b; sxx += a * a; syy += b * b }
            r = (sxx > 0 && syy > 0) ? sxy / sqrt(sxx * syy) : 0
            if (r > best) { best = r; at = from + o; level = sqrt(syy / sxx) }
        }
        printf "%.4f %d %.3f\n", best, at - onset, level
    }')
read -r correlation lag level <<<"$result"
echo "chime found $lag samples after the first sound at $((first_frame * 1000 / capture_rate)) ms:" \
     "correlation $correlation, level $level of the original"
awk -v r="$correlation" 'BEGIN { exit !(r >= 0.9) }' || fail "the chime's samples are not in the stream"
awk -v l="$level" 'BEGIN { exit !(l >= 0.8 && l <= 1.25) }' || fail "the chime plays at $level of its level"
[ "$lag" -ge -2 ] && [ "$lag" -le 20 ] || fail "sound starts $lag samples away from the chime"
echo "PASS"
