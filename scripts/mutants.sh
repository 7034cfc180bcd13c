#!/usr/bin/env bash
# Plants the one-line faults of scripts/mutants.txt, one at a time, in a copy
# of the sources, rebuilds, and runs the unit tests and the quick end-to-end
# tests until one fails. Prints a table: killed (and by which test) or
# survived, and "stale" for a fault whose text is no longer found exactly once.
#
#   bash scripts/mutants.sh [--half] [--only TEXT] [--from N] [--reuse]
#                           [--deadline EPOCH_SECONDS] [BUILD_DIR]
#
# --half plays every other line of the list (the 1st, 3rd, ...), --only the
# lines that contain TEXT (given more than once: any of them), --from N the
# lines from the N-th on; --reuse takes the copy and build of the last run
# instead of a fresh copy of the working tree (BUILD_DIR defaults to
# build-mutants); --deadline plants no new fault once that time (seconds since
# 1970, as `date +%s`) has passed, and the summary says how many were left
# untried. The exit status is 1 when a fault survives or is stale. The working tree is never touched: the copy lives in
# BUILD_DIR/src, an untouched one in BUILD_DIR/orig.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
half=0
only=()
reuse=0
first_line=1
deadline=""
untried=0
dir=build-mutants
while [ $# -gt 0 ]; do
    case $1 in
        --half) half=1 ;;
        --only) only+=("$2"); shift ;;
        --reuse) reuse=1 ;;
        --from) first_line=$2; shift ;;
        --deadline)
            case ${2:-} in '' | *[!0-9]*) echo "mutants.sh: --deadline needs a time in seconds since 1970" >&2; exit 2 ;; esac
            deadline=$2; shift ;;
        -*) echo "mutants.sh: unknown option $1" >&2; exit 2 ;;
        *) dir=$1 ;;
    esac
    shift
done
case $dir in /*) ;; *) dir=$root/$dir ;; esac
src=$dir/src build=$dir/build
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
start=$(date +%s)

# A fresh copy of the tracked and new files, so edits in progress are included.
# Every file gets the current time (tar -m): an object built from a planted
# fault in the last run must never look newer than its source.
if [ $reuse = 0 ] || [ ! -d "$dir/orig" ]; then
    rm -rf "$src" "$dir/orig"
    mkdir -p "$src" "$build"
    git ls-files -co --exclude-standard -z | tar --null -T - -cf - | tar -xmf - -C "$src"
    cp -a "$src" "$dir/orig"
fi
# -O1 without debug information: each fault recompiles its file and relinks a
# test, and at -O2 -g that took twice as long for no fault caught more.
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" \
    -DZUBA_BENCH=OFF >/dev/null || exit 2
if ! cmake --build "$build" -j "$jobs" >"$dir/build.log" 2>&1; then
    tail -30 "$dir/build.log"
    echo "mutants.sh: the unmutated sources do not build" >&2
    exit 2
fi

# The unit test programs, and the quick end-to-end scripts (the minutes-long
# X and soak tests are left out). The golden replay is quick and notices most
# changes of behaviour, so it comes right after the planted file's own suite.
unit_tests=()
targets=$(cmake --build "$build" --target help)
for t in "$src"/tests/*_test.cpp; do
    t=test_$(basename "$t" _test.cpp)
    grep -qw -- "$t" <<<"$targets" && unit_tests+=("$t")  # a suite left out by an option is no target
done
quick_e2e=(replay_golden startup)

# run_test NAME: 0 when the test passes; otherwise its first failure is in $why.
run_test() {
    local name=$1 out=$dir/test.out
    case $name in
        e2e_*)
            cmake --build "$build" -j "$jobs" --target zuba-trilo zuba-trilo-replay >"$out" 2>&1 ||
                { why="does not build"; return 1; }
            timeout -k 10 300 bash "$src/tests/e2e/${name#e2e_}.sh" "$build/zuba-trilo" "$build/zuba-trilo-replay" \
                "$src" >"$out" 2>&1 && return 0
            why=$(grep -m1 -E 'FAIL|differ|error' "$out" | cut -c1-70)
            [ -n "$why" ] || why="failed" ;;
        *)
            cmake --build "$build" -j "$jobs" --target "$name" >"$out" 2>&1 || { why="does not build"; return 1; }
            (cd "$build/tests" && timeout -s KILL 300 "./$name" --gtest_fail_fast --gtest_brief=1) >"$out" 2>&1 &&
                return 0
            why=$(grep -m1 -oE '^\[  FAILED  \] [A-Za-z0-9_/.]+' "$out" | cut -c14-)
            [ -n "$why" ] || why="crashed" ;;
    esac
    return 1
}

# Every test must pass before any fault is planted.
for t in "${unit_tests[@]}" "${quick_e2e[@]/#/e2e_}"; do
    if ! run_test "$t"; then
        echo "mutants.sh: $t fails without any fault planted: $why" >&2
        exit 2
    fi
done

# mutate FILE FROM TO: counts FROM in FILE; replaces it when found once.
mutate() {
    python3 - "$@" <<'EOF'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
text = open(path).read()
n = text.count(old)
if n == 1:
    open(path, "w").write(text.replace(old, new))
print(n)
EOF
}

# The objects built from the unmutated file are kept aside while a fault is
# planted and put back afterwards, newer than the restored source, so the next
# fault does not compile that file again. (A planted header is simply touched
# when restored: everything that includes it is compiled again.)
keep_objects() {
    kept=()
    [[ $mutated == *.cpp ]] || return 0
    local o
    while IFS= read -r -d '' o; do
        cp -p "$o" "$o.unmutated" && kept+=("$o")
    done < <(find "$build" -path "*/$mutated.o" -print0)
}
restore() {
    [ -n "${mutated:-}" ] || return 0
    if [ ${#kept[@]} -gt 0 ]; then
        cp -p "$dir/orig/$mutated" "$src/$mutated"
        local o
        for o in "${kept[@]}"; do mv "$o.unmutated" "$o" && touch "$o"; done
    else
        cp "$dir/orig/$mutated" "$src/$mutated" && touch "$src/$mutated"
    fi
    mutated="" kept=()
}
kept=()
trap restore EXIT
trap 'restore; exit 130' INT TERM

printf '%-3s %-9s %-52s %s\n' "#" "result" "by test" "fault"
n=0 planted=0 killed=0 survived=0 stale=0 line_no=0
survivors=()
while IFS=$'\n' read -r line; do
    case $line in '#'* | '') continue ;; esac
    line_no=$((line_no + 1))
    [ $half = 1 ] && [ $((line_no % 2)) = 0 ] && continue
    [ "$line_no" -lt "$first_line" ] && continue
    if [ ${#only[@]} -gt 0 ]; then
        wanted=0
        for o in "${only[@]}"; do [[ $line == *"$o"* ]] && wanted=1; done
        [ $wanted = 1 ] || continue
    fi
    if [ -n "$deadline" ] && [ "$(date +%s)" -ge "$deadline" ]; then
        untried=$((untried + 1))
        continue
    fi
    # Split by hand: read would merge the empty field of a dropped text.
    file=${line%%$'\t'*} rest=${line#*$'\t'}
    from=${rest%%$'\t'*} rest=${rest#*$'\t'}
    to=${rest%%$'\t'*} why_broken=${rest#*$'\t'}
    # An optional fifth field names the test that catches the fault when it is
    # not the file's own suite; it runs first.
    first=""
    if [[ $why_broken == *$'\t'* ]]; then first=${why_broken#*$'\t'} why_broken=${why_broken%%$'\t'*}; fi
    n=$((n + 1))
    label="$file: $why_broken"
    count=$(mutate "$src/$file" "$from" "$to" 2>/dev/null || echo 0)
    if [ "$count" != 1 ]; then
        stale=$((stale + 1))
        survivors+=("$line_no stale ($count matches) $label")
        printf '%-3s %-9s %-52s %s\n' "$line_no" stale "text found $count times" "$label"
        continue
    fi
    mutated=$file
    keep_objects
    planted=$((planted + 1))
    module=$(basename "$file" .cpp)
    order=()
    [ -n "$first" ] && order+=("$first")
    [ -x "$build/tests/test_$module" ] && [ "$first" != "test_$module" ] && order+=("test_$module")
    [ "$first" = e2e_replay_golden ] || order+=(e2e_replay_golden)
    for t in "${unit_tests[@]}"; do [ "$t" = "test_$module" ] || [ "$t" = "$first" ] || order+=("$t"); done
    for t in "${quick_e2e[@]}"; do [ "$t" = replay_golden ] || [ "e2e_$t" = "$first" ] || order+=("e2e_$t"); done
    by=""
    # zuba_app stands on every floor: building it builds all their libraries.
    if ! cmake --build "$build" -j "$jobs" --target zuba_app >"$dir/lib.out" 2>&1; then
        by="compiler"
    else
        for t in "${order[@]}"; do
            if ! run_test "$t"; then
                by="$t: $why"
                break
            fi
        done
    fi
    restore
    if [ -n "$by" ]; then
        killed=$((killed + 1))
        printf '%-3s %-9s %-52s %s\n' "$line_no" killed "${by:0:52}" "$label"
    else
        survived=$((survived + 1))
        survivors+=("$line_no survived $label")
        printf '%-3s %-9s %-52s %s\n' "$line_no" SURVIVED "-" "$label"
    fi
done <"$src/scripts/mutants.txt"

echo
echo "mutants: $n tried, $planted planted, $killed killed, $survived survived, $stale stale" \
    "($(($(date +%s) - start)) s)"
[ $untried = 0 ] || echo "mutants: $untried faults left untried: the deadline had passed"
printf '  %s\n' "${survivors[@]}"
[ $survived = 0 ] && [ $stale = 0 ]
