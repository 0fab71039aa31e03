#!/bin/bash
# altorin-convert as a script would use it: outputs on stdout, "LOG: message"
# on stderr, going on after a failed log, exit status 0 only when all converted.
set -u
tool=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

line500() { # f2 f4 lon lat f12
    printf '01;14:22:01;%s;-2;%s;4.9;5.1;21;0;12;%s;%s;%s;42;180;7;1\r\n' "$@"
}

mkdir -p "$work/card"
line500 75 4312 8123456 48123456 500 >"$work/card/LOG00001.CSV"
line500 76 4313 8123466 48123466 501 >"$work/card/LOG00002.CSV"
{ line500 75 431 8123456 48123456 500; line500 76 43x 8123456 48123456 500; } >"$work/card/LOG00003.CSV"

# --version and --help
expect_eq "--version" "$("$tool" --version)" "altorin-convert V0.45"
"$tool" --help | grep -q -- "--format <kml2d|kml3d-gps|kml3d-baro|gpx|trakmond>" || fail "--help"
expect_lost_output "--help" "$tool" --help
expect_lost_output "--summary" "$tool" --summary --firmware 500 "$work/card/LOG00001.CSV"
mkdir "$work/listed"
expect_lost_output "the output paths" "$tool" --firmware 500 --format gpx --output-dir \
    "$work/listed" "$work/card/LOG00001.CSV"
[ -s "$work/listed/LOG00001.GPX" ] || fail "a lost listing still converts"

# usage errors
"$tool" --format gpx >/dev/null 2>&1
[ $? -eq 2 ] || fail "no LOGFILE should be a usage error"
"$tool" "$work/card/LOG00001.CSV" >/dev/null 2>&1
[ $? -eq 2 ] || fail "missing --format should be a usage error"
"$tool" --format gpz "$work/card/LOG00001.CSV" >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "unknown format should be a usage error"
grep -q "unknown format 'gpz'" "$work/err" || fail "unknown format message"
"$tool" --firmware 600 --format gpx "$work/card/LOG00001.CSV" >/dev/null 2>&1
[ $? -eq 2 ] || fail "unknown firmware should be a usage error"
"$tool" --formt gpx "$work/card/LOG00001.CSV" >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "an unknown option should be a usage error"
grep -q "Unknown option 'formt'" "$work/err" || fail "unknown option message"
"$tool" "$work/card/LOG00001.CSV" --format >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing option value should be a usage error"

# A whole card: every output path on its own line, exit 0.
out=$("$tool" --firmware 500 --format kml2d "$work/card/LOG00001.CSV" "$work/card/LOG00002.CSV")
status=$?
expect_eq "outputs of two logs" "$out" "$work/card/LOG00001.kml
$work/card/LOG00002.kml"
[ $status -eq 0 ] || fail "exit status $status for a good card"

# A missing log and a bad field: reported, the others still converted, exit 1.
out=$("$tool" --firmware 500 --format gpx "$work/card/LOG00001.CSV" "$work/card/NONE.CSV" \
    "$work/card/LOG00003.CSV" "$work/card/LOG00002.CSV" 2>"$work/err")
status=$?
expect_eq "outputs around failures" "$out" "$work/card/LOG00001.GPX
$work/card/LOG00002.GPX"
expect_eq "errors" "$(cat "$work/err")" "$work/card/NONE.CSV: Datei nicht gefunden
$work/card/LOG00003.CSV:2: '43x' ist kein gültiger Integerwert"
[ $status -eq 1 ] || fail "exit status $status after failures"
[ ! -e "$work/card/LOG00003.GPX" ] || fail "a stopped conversion left an output"

# Relative paths stay relative; the plotter output goes beside the log.
out=$(cd "$work" && "$tool" --firmware 500 --format trakmond card/LOG00001.CSV)
expect_eq "relative output path" "$out" "card/TMD00001.CSV"
grep -q $'^0;4312;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;812345;5000;\r$' "$work/card/TMD00001.CSV" ||
    fail "plotter record"

# The plotter output named as log would be overwritten by itself: refused.
"$tool" --firmware 500 --format trakmond "$work/card/TMD00001.CSV" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "converting a plotter output onto itself should fail"
expect_eq "own output" "$(cat "$work/err")" "$work/card/TMD00001.CSV: Ausgabe wäre die Log-Datei selbst: TMD00001.CSV"

# Without --firmware: 407 when no settings file exists (the 17-field line is
# skipped, so the log is one of the other firmware) ...
"$tool" --format gpx "$work/card/LOG00001.CSV" >/dev/null 2>"$work/err" &&
    fail "default firmware run should fail on a 17-field log"
grep -q -- "--firmware 500" "$work/err" || fail "407 should skip 17-field lines"
# ... else the variant the window stored.
mkdir -p "$XDG_CONFIG_HOME/AltorinTool"
printf '[AR_Version]\nAR_Version=500\n[OptionInt]\nOptionInt=1\n' \
    >"$XDG_CONFIG_HOME/AltorinTool/AltorinTool.ini"
"$tool" --format gpx "$work/card/LOG00001.CSV" >/dev/null || fail "stored firmware run"
grep -q "h=431.2m</name>" "$work/card/LOG00001.GPX" || fail "stored Duo variant not used"
# --firmware wins over the settings file.
"$tool" --firmware 500 --format gpx "$work/card/LOG00001.CSV" >/dev/null
grep -q "h=4312m</name>" "$work/card/LOG00001.GPX" || fail "--firmware 500 not used"

# Byte for byte the same file as the window's conversion writes.
cp "$data/LOG00500.CSV" "$work/LOG00500.CSV"
touch -d '2010-05-07 14:22:01 UTC' "$work/LOG00500.CSV"
"$tool" --firmware duo --format gpx "$work/LOG00500.CSV" >/dev/null
cmp "$work/LOG00500.GPX" "$data/expected/duo.gpx" || fail "GPX differs from expected/duo.gpx"

finish "altorin-convert checks"
