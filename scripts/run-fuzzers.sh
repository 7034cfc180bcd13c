#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build, starting from its committed seeds,
# sharing a bounded total time, and prints how many inputs each one ran. A
# crash or a broken rule fails the run; the input that did it is kept under
# BUILD/fuzz-artifacts/ and can be replayed with `BUILD/fuzz/fuzz_NAME FILE`.
#   usage: scripts/run-fuzzers.sh BUILD_DIR [TOTAL_SECONDS]
set -euo pipefail
build=${1:?usage: scripts/run-fuzzers.sh BUILD_DIR [TOTAL_SECONDS]}
total=${2:-60}

# Shares of the total time. The draw queue target paints and compares the
# whole 2500 x 1300 surface on every drain, so it runs far fewer inputs per
# second than the others and gets a double share.
share() { case $1 in draw_queue) echo 2 ;; *) echo 1 ;; esac; }
# Leak checks for every target but the one that starts SDL's video, which
# keeps its own allocations until the process ends.
leaks() { case $1 in draw_queue) echo 0 ;; *) echo 1 ;; esac; }
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts" "$build/fuzz-logs"

shares=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] && shares=$((shares + $(share "${bin##*/fuzz_}")))
done
[ "$shares" -gt 0 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }

status=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=${bin##*/fuzz_}
  seconds=$((total * $(share "$name") / shares))
  [ "$seconds" -ge 1 ] || seconds=1
  seeds=$src/fuzz/corpus/$name
  work=$build/fuzz-corpus/$name
  log=$build/fuzz-logs/$name.log
  mkdir -p "$work"
  # New inputs go to the build's own corpus; the committed seeds are only read.
  if "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
      -detect_leaks="$(leaks "$name")" -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$name-" \
      "$work" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    echo "fuzz $name: ${runs:-?} executions in ${secs:-?} s, no crash (corpus $(ls "$work" | wc -l) inputs)"
  else
    status=1
    echo "fuzz $name: FAILED"
    grep -E 'broken rule|ERROR|SUMMARY|^ +#[0-9]+ .* in [a-z_]' "$log" | head -40 || tail -40 "$log"
    ls "$build/fuzz-artifacts/$name-"* 2>/dev/null | sed 's/^/  input kept: /'
  fi
done
exit $status
