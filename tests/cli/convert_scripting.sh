#!/bin/bash
# altorin-convert in scripts: a log of the other firmware fails and keeps the
# older output, an empty track is warned about, folders stand for their logs,
# --output-dir (no output replaced by another log's), option values in any
# case, and a help that fits the terminal.
set -u
tool=$(readlink -f "$1")
work=$(mktemp -d)
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

line500() { printf '01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;8123456;48123456;500;42;180;7;1\r\n'; }
line407() { printf '01;14:22:01;75;-2;431;4.9;5.1;21;0;12;8123456;48123456;500\r\n'; }
mkdir -p "$work/card" "$work/out"
line500 >"$work/card/LOG00500.CSV"
line407 >"$work/card/LOG00407.CSV"

# The wrong firmware, both ways: exit 1, the fitting option named, the older
# output untouched, no file left.
wrong_firmware() { # firmware, log, fitting option
    local log=$work/card/$2 gpx=$work/card/${2%.CSV}.GPX
    printf 'older\r\n' >"$gpx"
    "$tool" --firmware "$1" --format gpx "$log" >"$work/out.txt" 2>"$work/err"
    [ $? -eq 1 ] || fail "$2 under $1: exit status"
    [ -s "$work/out.txt" ] && fail "$2 under $1: output path printed"
    grep -q -- "^$log: Keine Trackpunkte: die Log-Datei hat Zeilen mit .* Feldern, passend ist $3" \
        "$work/err" || fail "$2 under $1: message $(cat "$work/err")"
    [ "$(cat "$gpx")" = $'older\r' ] || fail "$2 under $1: the older output changed"
    rm -f "$gpx"
}
wrong_firmware 407 LOG00500.CSV "--firmware 500"
wrong_firmware 500 LOG00407.CSV "--firmware 407"
wrong_firmware duo LOG00407.CSV "--firmware 407"
[ "$(ls "$work/card")" = $'LOG00407.CSV\nLOG00500.CSV' ] || fail "files left: $(ls "$work/card")"

# A log without Data lines: written as ever, with a warning, exit 0.
printf 'Altorin\r\n' >"$work/card/LOG00000.CSV"
out=$("$tool" --firmware 500 --format kml2d "$work/card/LOG00000.CSV" 2>"$work/err")
[ $? -eq 0 ] || fail "empty log: exit status"
[ "$out" = "$work/card/LOG00000.kml" ] || fail "empty log: output '$out'"
[ "$(cat "$work/err")" = "$work/card/LOG00000.CSV: Warnung: keine Trackpunkte, die Spur ist leer" ] ||
    fail "empty log: stderr $(cat "$work/err")"
rm "$work/card/LOG00000.CSV" "$work/card/LOG00000.kml"

# A folder: its logs in name order whatever their case, option values in any
# case; the failing log is reported and the others still converted.
mkdir "$work/mixed"
line500 >"$work/mixed/Log00002.Csv"
line500 >"$work/mixed/log00001.csv"
line407 >"$work/mixed/LOG00003.CSV"
printf 'x\n' >"$work/mixed/README.TXT"
out=$("$tool" --firmware DUO --format Kml3D-GPS "$work/mixed" 2>"$work/err")
[ $? -eq 1 ] || fail "folder: exit status"
[ "$out" = "$work/mixed/log00001.kml"$'\n'"$work/mixed/Log00002.kml" ] || fail "folder: outputs $out"
grep -q "^$work/mixed/LOG00003.CSV: Keine Trackpunkte" "$work/err" || fail "folder: $(cat "$work/err")"
# --firmware auto: a card with logs from before and after a firmware update
# converts in one run, each log as under the firmware whose layout it has.
mkdir "$work/auto" "$work/by407" "$work/by500"
out=$("$tool" --firmware Auto --format gpx --output-dir "$work/auto" "$work/mixed" 2>"$work/err")
[ $? -eq 0 ] || fail "auto: exit status, $(cat "$work/err")"
[ -s "$work/err" ] && fail "auto: stderr $(cat "$work/err")"
expect_eq "auto: outputs" "$(ls "$work/auto")" $'LOG00003.GPX\nLog00002.GPX\nlog00001.GPX'
"$tool" --firmware 407 --format gpx --output-dir "$work/by407" "$work/mixed/LOG00003.CSV" >/dev/null
"$tool" --firmware 500 --format gpx --output-dir "$work/by500" "$work/mixed/log00001.csv" >/dev/null
cmp -s "$work/auto/LOG00003.GPX" "$work/by407/LOG00003.GPX" || fail "auto: the 407 log"
cmp -s "$work/auto/log00001.GPX" "$work/by500/log00001.GPX" || fail "auto: a 500 log"
"$tool" --help | grep -q "never duo" || fail "help does not say that auto never picks duo"
"$tool" --format gpx "$work/out" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "folder without logs: exit status"
[ "$(cat "$work/err")" = "$work/out: Keine Log-Datei (LOG?????.CSV) in diesem Ordner" ] ||
    fail "folder without logs: $(cat "$work/err")"

# --output-dir: the outputs there, also from a read-only card; an output that
# would be the log is refused; a missing folder is a usage error.
chmod 555 "$work/card"
out=$(as_pilot "$tool" --firmware 500 --format trakmond --output-dir "$work/out" \
    "$work/card/LOG00500.CSV" 2>"$work/err")
[ $? -eq 0 ] || fail "--output-dir: exit status, $(cat "$work/err")"
[ "$out" = "$work/out/TMD00500.CSV" ] || fail "--output-dir: output '$out'"
grep -q '^0;4312;' "$work/out/TMD00500.CSV" || fail "--output-dir: plotter record"
chmod 755 "$work/card"
out=$("$tool" --firmware 500 --format trakmond --output-dir "$work/out" "$work/out/TMD00500.CSV" \
    2>"$work/err")
[ $? -eq 1 ] || fail "--output-dir onto the log: exit status"
[ "$(cat "$work/err")" = "$work/out/TMD00500.CSV: Ausgabe wäre die Log-Datei selbst: TMD00500.CSV" ] ||
    fail "--output-dir onto the log: $(cat "$work/err")"
grep -q '^0;4312;' "$work/out/TMD00500.CSV" || fail "--output-dir onto the log: the log changed"
"$tool" --format gpx --output-dir "$work/none" "$work/card/LOG00500.CSV" 2>/dev/null
[ $? -eq 2 ] || fail "--output-dir of a missing folder should be a usage error"

# Two cards' logs of one name into one --output-dir: the first card's output
# stays, the second log fails naming the clash, the next log still converts.
# The same log named again (its folder and itself) rewrites its own output.
mkdir -p "$work/card1" "$work/card2" "$work/merged"
line500 >"$work/card1/LOG00001.CSV"
{ line500; line500; } >"$work/card2/LOG00001.CSV"
line500 >"$work/card2/LOG00002.CSV"
merged=$work/merged
out=$("$tool" --firmware 500 --format gpx --output-dir "$merged" "$work/card1" "$work/card2" \
    "$work/card1/LOG00001.CSV" 2>"$work/err")
[ $? -eq 1 ] || fail "two logs of one name: exit status"
expect_eq "two logs of one name: outputs" "$out" \
    "$merged/LOG00001.GPX"$'\n'"$merged/LOG00002.GPX"$'\n'"$merged/LOG00001.GPX"
expect_eq "two logs of one name: message" "$(cat "$work/err")" "$work/card2/LOG00001.CSV: \
$merged/LOG00001.GPX wurde in diesem Lauf schon aus $work/card1/LOG00001.CSV geschrieben und \
wird nicht ersetzt"
[ "$(grep -c '<trkpt' "$merged/LOG00001.GPX")" = 1 ] || fail "the first card's output replaced"
expect_eq "two logs of one name: files" "$(ls -A "$merged")" $'LOG00001.GPX\nLOG00002.GPX'

# Help: wrapped to $COLUMNS when stdout is no terminal, no Qt options.
help=$(COLUMNS=60 "$tool" --help)
long=$(grep -v -- '--format <' <<<"$help" | awk 'length($0) > 60')
[ -z "$long" ] || fail "help lines over 60 columns: $long"
grep -q "^Examples:" <<<"$help" || fail "help without examples"
grep -q -- "--output-dir <DIR>" <<<"$help" || fail "help without --output-dir"
grep -q -- "help-all\|-qmljsdebugger" <<<"$help" && fail "help names Qt's options"
[ "$(COLUMNS=200 "$tool" --help | awk 'length($0) > 80' | wc -l)" -gt 0 ] ||
    fail "help not widened to 200 columns"
"$tool" --help-all >/dev/null 2>&1
[ $? -eq 2 ] || fail "--help-all should be an unknown option"

finish "scripting checks of altorin-convert"
