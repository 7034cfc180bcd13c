#!/usr/bin/env bash
# A short soak: 50 000 passes of scripted play (several games through the
# whole screen cycle), every pass of the trace checked by zuba-soak-check; and
# the checker itself refuses traces that break the game's rules.
# Arguments: game binary, replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
replay=$2
source_dir=$3
build=$(dirname "$replay")
check=$build/zuba-soak-check

timeout 250 bash "$source_dir/scripts/soak.sh" 50000 "$build" >"$work/out" 2>&1 || {
    cat "$work/out" >&2
    fail "the 50 000-pass soak failed"
}
cat "$work/out"
games=$(sed -n 's/.* \([0-9]*\) games begun.*/\1/p' "$work/out")
[ "${games:-0}" -ge 3 ] || fail "the soak played ${games:-no} games, expected several"

# expect_refusal WHAT LINE...: a trace of these lines is refused naming WHAT.
line() {  # pass state score lives bombs live_front [hi_score]
    printf '{"pass":%s,"state":%s,"score":%s,"hi_score":%s,"lives":%s,"shots_fired":0,"player_x":10,"screen_timer":0,' \
        "$1" "$2" "$3" "${7:-$3}" "$4"
    printf '"live_front":%s,"bombs":[%s],"shields_alive":480,"cues":[],"quit":0}\n' "$6" "$5"
}
expect_refusal() {
    local what=$1
    shift
    printf '%s\n' "$@" >"$work/bad.jsonl"
    "$check" "$work/bad.jsonl" >"$work/check_out" 2>&1 && fail "a trace with $what was accepted"
    grep -q -- "$what" "$work/check_out" || fail "refusing $what it said: $(cat "$work/check_out")"
}
good=$(line 0 6 20 2 "" 840)
printf '%s\n' "$good" "$(line 1 6 30 1 "[3,100,900,1,0]" 839)" >"$work/good.jsonl"
"$check" "$work/good.jsonl" >/dev/null || fail "a consistent trace was refused"
expect_refusal "score went down" "$good" "$(line 1 6 10 2 "" 840 20)"
expect_refusal "lives 3 outside" "$good" "$(line 1 6 20 3 "" 840)"
expect_refusal "lives -2 outside" "$good" "$(line 1 6 20 -2 "" 840)"
expect_refusal "live_front 841 outside" "$good" "$(line 1 6 20 2 "" 841)"
bombs=$(for i in $(seq 0 128); do printf '[%d,5,5,1,0],' "$i"; done)
expect_refusal "beyond 127" "$good" "$(line 1 6 20 2 "${bombs%,}" 840)"
expect_refusal "hi-score went down" "$(line 0 8 20 -1 "" 840 50)" "$(line 1 8 20 -1 "" 840 40)"
echo "ok: the soak stayed consistent; the checker refuses broken traces"
