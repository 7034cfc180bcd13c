#!/usr/bin/env bash
# The replay driver refuses bad scripts and options with a message naming the
# file and line, and exit status 2.
# Arguments: game binary, replay binary, source directory.
set -u
replay=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# expect_refusal MESSAGE-PATTERN ARGUMENTS...
expect_refusal() {
    local pattern=$1
    shift
    timeout 60 "$replay" "$@" >"$work/out" 2>"$work/err"
    local status=$?
    [ "$status" = 2 ] || fail "'$*' exited with $status, not 2"
    grep -q -- "$pattern" "$work/err" || fail "'$*' said '$(cat "$work/err")', expected '$pattern'"
}

printf '# demo\n10 -\n\n3 fire+jump\n' >"$work/bad_key.txt"
expect_refusal "bad_key.txt:4: .*jump" "$work/bad_key.txt"
printf '10 -\n0 fire\n' >"$work/zero.txt"
expect_refusal "zero.txt:2: " "$work/zero.txt"
printf '10\n' >"$work/short.txt"
expect_refusal "short.txt:1: " "$work/short.txt"
expect_refusal "missing.txt: cannot open" "$work/missing.txt"

printf '5 -\n' >"$work/good.txt"
expect_refusal "no script given"
expect_refusal "unknown option '--fast'" "$work/good.txt" --fast
expect_refusal "trace-every" "$work/good.txt" --trace-every 0
expect_refusal "dump" "$work/good.txt" --dump nowhere.ppm
expect_refusal "more than one script" "$work/good.txt" "$work/good.txt"
expect_refusal "cannot write the trace" "$work/good.txt" --trace "$work/no/such/dir/t.jsonl"
expect_refusal "pass 9 never ran" "$work/good.txt" --dump "9:$work/late.ppm"

timeout 60 "$replay" "$work/good.txt" --summary --trace "$work/t.jsonl" >"$work/out" || fail "a good script failed"
grep -q '^passes: 5$' "$work/out" || fail "the summary does not count 5 passes: $(cat "$work/out")"
[ "$(wc -l <"$work/t.jsonl")" = 5 ] || fail "the trace does not hold 5 lines"
echo "ok: bad scripts and options refused with status 2"
