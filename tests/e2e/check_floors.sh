#!/usr/bin/env bash
# The floors check (scripts/check-floors.sh; the ctest "floors" runs it on the
# sources) fails, naming the file and line, on small trees that break it: an
# include up a floor, one across to a neighbour, a folder on no floor, and
# includes in a linked header or a file with an odd name.
# Arguments: game binary, replay binary, source directory.
# shellcheck source=tests/e2e/xvfb_lib.bash
source "$3/tests/e2e/xvfb_lib.bash"
src=$3
# A tree with FILE holding LINE besides a game/ and a video/ that keep the rule.
tree() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree/game" "$work/tree/video"
    printf '#include "game/game.h"\n#include "video/draw_queue.h"\n// #include "replay/demo.h"\n' >"$work/tree/game/game.cpp"
    printf '#include "platform/platform.h"\n' >"$work/tree/video/text.cpp"
    mkdir -p "$work/tree/$(dirname "$1")"
    printf '// a module\n%s\n' "$2" >>"$work/tree/$1"
}
check() {
    bash "$src/scripts/check-floors.sh" "$work/tree" >"$work/out" 2>&1
    status=$?
}

# Build trees (the Debian package builds in debian/build/) are passed over.
tree session/screens.cpp '#include "game/game.h"'
mkdir -p "$work/tree/debian/build/embed" "$work/tree/build-web/CMakeFiles" "$work/tree/tests/web/node_modules/x"
for f in debian/build/embed/title.cpp build-web/CMakeFiles/id.cpp tests/web/node_modules/x/a.h; do
    printf '#include "app/options.h"\n' >"$work/tree/$f"
done
check
[ "$status" = 0 ] || fail "includes that point down were refused: $(cat "$work/out")"

while IFS='|' read -r file include message; do
    tree "$file" "$include"
    check
    [ "$status" = 1 ] || fail "$file with '$include' exited with $status, not 1"
    grep -qF "$message" "$work/out" || fail "$file with '$include' said '$(cat "$work/out")', not '$message'"
done <<'CASES'
game/bombs.cpp|#include "session/screens.h"|game/bombs.cpp:2: game/ includes from session/, a floor above it
video/text.cpp|  #  include "input/input.h"|video/text.cpp:3: video/ includes from input/, its neighbour on the same floor
replay/demo.cpp|#include "app/demos.h"|replay/demo.cpp:2: replay/ includes from app/, a floor above it
game/player.cpp|#include "gadgets/x.h"|game/player.cpp:2: includes from gadgets/, which is on no floor
gadgets/x.cpp|#include "game/game.h"|gadgets/x.cpp: the folder gadgets/ is on no floor
CASES
# A header linked in from elsewhere is checked where it is used, and a name
# with a space or bytes that are not text do not hide an include.
tree game/shields.cpp '#include "game/game.h"'
printf '#include "replay/demo.h"\n' >"$work/tree/elsewhere.h"
ln -s ../elsewhere.h "$work/tree/game/linked.h"
printf '\0\1\n#include "session/screens.h"\n' >"$work/tree/game/odd name.cpp"
check
[ "$status" = 1 ] || fail "a linked header and an odd file name passed"
grep -qF 'game/linked.h:1: game/ includes from replay/, a floor above it' "$work/out" || fail "the linked header was not checked: $(cat "$work/out")"
grep -qF 'game/odd name.cpp:2: game/ includes from session/, a floor above it' "$work/out" || fail "the odd file name was not checked: $(cat "$work/out")"

echo "floors check: refuses each planted include"
