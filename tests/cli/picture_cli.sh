#!/bin/bash
# altorin-convert --picture: LOGnnnnn.png beside each log or in --output-dir,
# of the size asked for, made without a display; each written path on stdout,
# "LOG: message" on stderr and the next log still drawn, exit 1 after a
# failure and 2 for a usage error. With an empty configuration the map is
# off, so nothing is fetched.
set -u
tool=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache HOME=$work/home TZ=UTC
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
. "$(dirname "$0")/../common/checks.sh"

line500() { # f2 f4 lon lat
    printf '01;14:22:01;%s;-2;%s;4.9;5.1;21;0;12;%s;%s;500;40;180;7;1\r\n' "$@"
}
# The PNG's width and height from its header.
png_size() {
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ')
    set -- $bytes
    echo "$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))x$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))"
}

mkdir -p "$work/card" "$work/out"
{
    echo "Altorin Log V500"
    for t in $(seq 0 60); do
        line500 "$t" $((2 * t)) $((8000000 + t * 100)) $((48000000 + (t % 10) * 200))
    done
} >"$work/card/LOG00001.CSV"
printf 'Altorin Log V407\r\n01;14:22:01;0;0;0;4.9;11.8;21;0;12;8000000;48000000;500\r\n' \
    >"$work/card/LOG00002.CSV"

out=$(cd "$work" && "$tool" --picture --firmware 500 card 2>"$work/err")
status=$?
expect_eq "written" "$out" "card/LOG00001.png"
grep -q "^card/LOG00002.CSV: Keine Datenzeilen: .*--firmware 407" "$work/err" ||
    fail "wrong firmware not reported: $(cat "$work/err")"
[ $status -eq 1 ] || fail "exit status $status after a failed log"
[ -f "$work/card/LOG00002.png" ] && fail "a picture of a failed log"
expect_eq "default size" "$(png_size "$work/card/LOG00001.png")" "1200x800"

# A log of its header only is drawn, with a warning, as a conversion warns of
# an empty track.
printf 'Altorin Log V500\r\n' >"$work/LOG00009.CSV"
"$tool" --picture --firmware 500 "$work/LOG00009.CSV" >/dev/null 2>"$work/err"
expect_eq "empty log status" $? 0
grep -q "LOG00009.CSV: Warnung: keine Datenzeile" "$work/err" || fail "empty log: $(cat "$work/err")"

# auto: a card from before and after a firmware update, each log read with
# the layout it has.
out=$(cd "$work" && "$tool" --picture --firmware auto --output-dir out card 2>"$work/err")
status=$?
expect_eq "auto" "$out" "$(printf 'out/LOG00001.png\nout/LOG00002.png')"
[ $status -eq 0 ] || fail "auto: exit status $status: $(cat "$work/err")"
rm -f "$work"/out/*

out=$("$tool" --picture --firmware 500 --size 640x480 --output-dir "$work/out" \
    "$work/card/LOG00001.CSV" 2>"$work/err")
status=$?
expect_eq "into the folder" "$out" "$work/out/LOG00001.png"
[ $status -eq 0 ] || fail "exit status $status: $(cat "$work/err")"
expect_eq "size" "$(png_size "$work/out/LOG00001.png")" "640x480"
[ -e "$work/cache" ] && fail "the map is off, yet a tile cache was made"

for bad in "--picture --size 12x12" "--picture --size big" "--size 800x600" \
    "--map-url file:///t/{z}/{x}/{y}.png" "--picture --map-url ftp://x/{z}/{x}/{y}.png" \
    "--picture --map-url https://x/{z}/{x}.png" "--picture --summary" "--picture --format gpx"; do
    # shellcheck disable=SC2086
    "$tool" $bad --firmware 500 "$work/card/LOG00001.CSV" >/dev/null 2>"$work/err"
    status=$?
    [ $status -eq 2 ] || fail "'$bad': exit status $status, not 2"
    [ -s "$work/err" ] || fail "'$bad': no message"
done

finish "picture checks"
