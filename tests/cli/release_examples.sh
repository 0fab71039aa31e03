#!/bin/bash
# The examples/ files and the commands the READMEs show for them: every
# command works as printed, and each example log converts to every format
# under the firmware its README names, with its positioned lines as points.
set -u
tool=$(readlink -f "$1")
setup=$(readlink -f "$2")
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

cp -r "$repo/examples" "$work/examples"
[ "$(stat -c %s "$work/examples/SETUPUPL.HEX")" = 20 ] || fail "SETUPUPL.HEX is not 20 bytes"

# The commands as printed, run from a copy of the repository's top.
commands=$(sed -n 's/^    \(build\/\)\{0,1\}altorin-convert \(.*examples\/.*\)$/\2/p' \
    "$repo/README.md" "$repo/examples/README.md")
[ -n "$commands" ] || fail "no example command found in the READMEs"
while read -r args; do
    # shellcheck disable=SC2086 # the arguments are split as a shell would
    (cd "$work" && "$tool" $args >/dev/null) || fail "README command: altorin-convert $args"
done <<<"$commands"

# The README's altorin-setup commands, run where a copy of the example setup
# lies: each works as printed, and show prints the lines the README shows.
cp "$repo/examples/SETUPUPL.HEX" "$work/SETUPUPL.HEX"
commands=$(sed -n 's/^    \(\$ \)\{0,1\}altorin-setup \(.*SETUPUPL\.HEX.*\)$/\2/p' "$repo/README.md")
[ "$(wc -l <<<"$commands")" -ge 2 ] || fail "no altorin-setup example found in the README"
while read -r args; do
    # shellcheck disable=SC2086 # the arguments are split as a shell would
    (cd "$work" && "$setup" $args >"$work/setup.out") || fail "README command: altorin-setup $args"
    case $args in
    show\ *)
        shown=$(sed -n '/^    \$ altorin-setup show/,/^$/{/^    \$/d;/^    \.\.\.$/d;s/^    //p}' \
            "$repo/README.md")
        while IFS= read -r line; do
            grep -qxF -- "$line" "$work/setup.out" || fail "altorin-setup $args does not print '$line'"
        done <<<"$shown"
        ;;
    esac
done <<<"$commands"

# convert LOG FIRMWARE FORMAT OUTPUT POINT-PATTERN
convert() {
    rm -f "$work/examples/$4"
    out=$(cd "$work/examples" && "$tool" --firmware "$2" --format "$3" "$1")
    [ $? -eq 0 ] || fail "$1 --firmware $2 --format $3: exit status"
    [ "$out" = "$4" ] || fail "$1 --format $3 printed '$out', not $4"
    [ -s "$work/examples/$4" ] || { fail "$1 --format $3: no $4"; return; }
    points=$(grep -c -- "$5" "$work/examples/$4")
    [ "$points" = 43 ] || fail "$1 --format $3: $points points, not the 43 positioned lines"
}
for log in LOG00001.CSV:407 LOG00002.CSV:500; do
    file=${log%%:*} firmware=${log##*:} base=${file%.CSV}
    convert "$file" "$firmware" kml2d "$base.kml" '^[0-9.]*,[0-9.]*,[0-9.-]*'$'\r''$'
    convert "$file" "$firmware" kml3d-gps "$base.kml" '^[0-9.]*,[0-9.]*,[0-9.-]*'$'\r''$'
    convert "$file" "$firmware" kml3d-baro "$base.kml" '^[0-9.]*,[0-9.]*,[0-9.-]*'$'\r''$'
    convert "$file" "$firmware" gpx "$base.GPX" '<trkpt '
    convert "$file" "$firmware" trakmond "TMD${base#LOG}.CSV" '^0;\([^;]*;\)\{15\}'$'\r''$'
done

finish "example checks"
