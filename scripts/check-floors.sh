#!/usr/bin/env bash
# The floors of the program, checked on every #include "FOLDER/file.h":
#
#   bench  fuzz  cmake       benchmarks, fuzz targets, the build's own checks
#   tests                    (with the support the two above use)
#   app  web  tools          the front ends and the developer programs
#   replay                   scripts, demos, traces, the headless driver
#   session                  the screen sequence and device start-up
#   game                     the game's rules
#   video  audio  input      the devices, side by side
#   platform  assets         what differs between systems; embedded artwork
#
# A file may include its own folder's headers and those of any lower floor,
# never a higher floor's nor a neighbour's on its own floor. Since every
# include then points down, no two folders can include each other, and the
# folder graph is checked for circles all the same (tsort), so that a floor
# list that went wrong cannot hide one. A folder with sources that is on no
# floor is an error too: a new folder gets its place here.
#
#   usage: scripts/check-floors.sh [SOURCE_DIR]   (default: this checkout)
# Prints every include that breaks the rule; the exit status is 1 when any
# does, 0 when the floors hold.
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

declare -A floor=(
    [platform]=0 [assets]=0
    [input]=1 [audio]=1 [video]=1
    [game]=2
    [session]=3
    [replay]=4
    [app]=5 [web]=5 [tools]=5
    [tests]=6
    [bench]=7 [fuzz]=7 [cmake]=7
)

status=0
edges=()
checked=0
while IFS= read -r -d '' file; do
    from=${file%%/*}
    [ "$from" = "$file" ] && continue  # a file at the top has no floor
    if [ -z "${floor[$from]+set}" ]; then
        echo "$file: the folder $from/ is on no floor (add it to scripts/check-floors.sh)"
        status=1
        continue
    fi
    if [ ! -r "$file" ]; then
        echo "$file: cannot be read, so its includes cannot be checked"
        status=1
        continue
    fi
    checked=$((checked + 1))
    while IFS=: read -r line text; do
        [[ $text =~ \"([^/\"]+)/ ]] || continue
        to=${BASH_REMATCH[1]}
        [ "$to" = "$from" ] && continue
        if [ -z "${floor[$to]+set}" ]; then
            echo "$file:$line: includes from $to/, which is on no floor"
            status=1
        elif [ "${floor[$to]}" -gt "${floor[$from]}" ]; then
            echo "$file:$line: $from/ includes from $to/, a floor above it"
            status=1
        elif [ "${floor[$to]}" -eq "${floor[$from]}" ]; then
            echo "$file:$line: $from/ includes from $to/, its neighbour on the same floor"
            status=1
        fi
        edges+=("$from $to")
    done < <(grep -a -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]*/' "$file")
done < <(find . -path ./.git -prune -o -path './build*' -prune -o -path '*/node_modules' -prune -o \
    \( -type f -o -xtype f \) \( -name '*.cpp' -o -name '*.h' \) -printf '%P\0' | sort -z)

# Folders that include each other, through however many others, are a circle.
if [ ${#edges[@]} -gt 0 ] && ! loops=$(printf '%s\n' "${edges[@]}" | sort -u | tsort 2>&1 >/dev/null); then
    echo "the folders include each other in a circle:"
    echo "$loops" | sed -n 's/^tsort: //p'
    status=1
fi

if [ $status -eq 0 ]; then
    echo "floors hold: $checked files, every include points down"
fi
exit $status
