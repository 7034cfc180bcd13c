#!/usr/bin/env bash
# Prints what sox measures of the part of each sound the game plays (the
# block less its unplayed tail): length, peak and RMS, full scale = 1.
#   bash scripts/measure-sounds.sh
set -euo pipefail
dir=$(dirname "$0")/../assets/embed
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '%-20s %9s %9s %9s\n' sound seconds peak rms
for wav in "$dir"/sound*.wav; do
    name=$(basename "$wav" .wav)
    stored=$(soxi -s "$wav")
    sox -V1 "$wav" -t raw -e unsigned -b 8 -c 1 "$tmp/block.raw"
    head -c $(((stored - 52) & ~3)) "$tmp/block.raw" >"$tmp/played.raw"
    sox -t raw -r 8000 -e unsigned -b 8 -c 1 "$tmp/played.raw" -n stat 2>&1 |
        awk -v n="$name" '/^Length/ { len = $3 } /^Maximum amplitude/ { mx = $3 }
            /^Minimum amplitude/ { mn = -$3 } /^RMS +amplitude/ { rms = $3 }
            END { printf "%-20s %9.4f %9.4f %9.4f\n", n, len, (mx > mn ? mx : mn), rms }'
done
