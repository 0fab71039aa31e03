#!/bin/bash
# Checks that the folders include one another one way only, as the layout in
# docs/DEVELOPING.md orders them: a folder may include its own files and those
# of lower folders. Fails when a core folder includes a window folder (ui/,
# app/), when a lower folder includes a higher one, or when two folders
# include each other. Tests, benchmarks and fuzz targets are exempt.
# Usage: check_includes.sh [SOURCE_DIR]
cd "${1:-${SOURCE_DIR:-$(dirname "$0")/../..}}" || exit 2

# Level of each folder, lowest first; a folder's cli/ and ui/ subfolders stand
# with the command lines and the windows, above every core folder.
level() {
    case $1 in
    core) echo 0 ;;
    i18n) echo 1 ;;
    log) echo 2 ;;
    setup | convert | flight) echo 3 ;;
    logbook | map) echo 4 ;;
    picture) echo 5 ;;
    cli | */cli) echo 6 ;;
    */ui) echo 7 ;;
    app) echo 8 ;;
    *) echo -1 ;;
    esac
}

# The folder a path belongs to: "flight/ui" for flight/ui/plotview.h, else its
# first part.
folder_of() {
    case $1 in
    */ui/* | */cli/*) echo "${1%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo . ;;
    esac
}

is_window() {
    case $1 in app | */ui) return 0 ;; *) return 1 ;; esac
}

# Known violations, as "FILE INCLUDED" (one per line), for a move still under
# way; each must still occur, one that is mended is named so it leaves the list.
allowed=""

failures=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
while IFS= read -r file; do
    from=$(folder_of "$file")
    from_level=$(level "$from")
    [ "$from_level" -lt 0 ] && continue
    while IFS= read -r included; do
        [ -f "$included" ] || continue
        to=$(folder_of "$included")
        [ "$to" = "$from" ] && continue
        to_level=$(level "$to")
        [ "$to_level" -lt 0 ] && continue
        echo "$from $to $file $included" >>"$edges"
        reason=
        if ! is_window "$from" && [ "$from_level" -lt 5 ] && is_window "$to"; then
            reason="a core folder includes a window folder"
        elif [ "$from_level" -lt "$to_level" ]; then
            reason="$from ($from_level) includes the higher $to ($to_level)"
        fi
        [ -z "$reason" ] && continue
        if grep -qxF "$file $included" <<<"$allowed"; then
            continue
        fi
        echo "$file includes $included: $reason"
        failures=$((failures + 1))
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -path ./build -prune -o -path ./tests -prune -o -path ./bench -prune \
    -o -path ./fuzz -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print |
    sed 's|^\./||' | sort)

# Folders of one level that include each other (between levels the upward
# include is reported above), each pair once.
while read -r from to file included; do
    [ "$(level "$from")" = "$(level "$to")" ] || continue
    [[ "$from" < "$to" ]] || continue
    back=$(awk -v a="$to" -v b="$from" '$1 == a && $2 == b { print $3 " includes " $4; exit }' "$edges")
    [ -z "$back" ] && continue
    echo "$file includes $included, while $back: $from and $to include each other"
    failures=$((failures + 1))
done < <(sort -u -k1,2 "$edges")

# A mended violation is named (without failing, so that merging the mend
# keeps the suite green until the list follows).
while IFS= read -r entry; do
    [ -z "$entry" ] && continue
    if ! grep -qxF "${entry#* }" <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "${entry%% *}" 2>/dev/null); then
        echo "allowed, but no longer found (remove it from the list): $entry"
    fi
done <<<"$allowed"

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) against the folder order"
    exit 1
fi
echo "folder order kept"
