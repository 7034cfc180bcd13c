#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, starting from its
# committed seeds, and prints how many inputs each one ran. A crash or a
# broken rule fails the run; the input that did it is kept under
# BUILD/fuzz-artifacts/ and can be replayed with `BUILD/fuzz/fuzz_NAME FILE`.
#   usage: tools/run-fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
build=${1:?usage: tools/run-fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-15}
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts" "$build/fuzz-logs"

status=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=${bin##*/fuzz_}
  seeds=$src/fuzz/corpus/$name
  work=$build/fuzz-corpus/$name
  log=$build/fuzz-logs/$name.log
  mkdir -p "$work"
  # New inputs go to the build's own corpus; the committed seeds are only read.
  # Leak checks stay off here: SDL keeps its own allocations until exit.
  if "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
      -detect_leaks=0 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$name-" \
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
