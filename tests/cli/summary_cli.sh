#!/bin/bash
# altorin-convert --summary: a table of all logs or one JSON line per log on
# stdout, "LOG: message" on stderr for a log that cannot be read, the next log
# still summarised, no file written, exit 1 after a failure and 2 for usage.
set -u
tool=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

line500() { # f2 f4 lon lat f13
    printf '01;14:22:01;%s;-2;%s;4.9;5.1;21;0;12;%s;%s;500;%s;180;7;1\r\n' "$@"
}

# Climbs 2 m/s for 10 s due north, a minute of latitude (1853 m); one bad
# line. The second log has no position. Neither sinks: no sink figure.
mkdir -p "$work/card"
{
    echo "Altorin Log V500"
    for t in $(seq 0 10); do
        line500 "$t" $((2 * t)) 8000000 $((48000000 + t * 1000)) $((40 + t))
    done
    line500 11 2x 8000000 48010000 50
} >"$work/card/LOG00001.CSV"
{ line500 0 0 0 0 0; line500 1 10 0 0 0; } >"$work/card/LOG00002.CSV"
touch -d '2010-05-07 14:22:01' "$work/card/LOG00001.CSV" "$work/card/LOG00002.CSV"
before=$(ls "$work/card")

out=$(cd "$work" && "$tool" --summary --firmware 500 card/LOG00001.CSV card/NONE.CSV \
    card/LOG00002.CSV 2>"$work/err")
status=$?
expect_eq "table" "$out" \
"            date  logged lines skip  max gain climb sink speed track away thermals thclimb log
                 h:mm:ss               m    m   m/s  m/s  km/h    km   km              m/s
2010-05-07 14:22 0:00:10    12    1 20.0 20.0  2.00    -    50  1.85 1.85        0       - card/LOG00001.CSV
2010-05-07 14:22 0:00:01     2    0 10.0 10.0 10.00    -     -     -    -        0       - card/LOG00002.CSV"
expect_eq "errors" "$(cat "$work/err")" "card/NONE.CSV: Datei nicht gefunden"
[ $status -eq 1 ] || fail "exit status $status after a missing log"
expect_eq "no file written" "$(ls "$work/card")" "$before"

# JSON: one object per line, every field named, null where the log lacks it;
# the Duo's tenths; the landing place is the last line with a position.
out=$("$tool" --summary --json --firmware duo "$work/card/LOG00002.CSV" "$work/card/LOG00001.CSV")
status=$?
[ $status -eq 0 ] || fail "exit status $status for good logs"
expect_eq "JSON" "$out" \
"{\"file\":\"$work/card/LOG00002.CSV\",\"date\":\"2010-05-07T14:22:00Z\",\"duration\":1,\"segments\":1,\"dataLines\":2,\"positionLines\":0,\"skippedLines\":0,\"firstSkippedLine\":null,\"startAltitude\":0,\"maxAltitude\":1,\"maxAltitudeTime\":1,\"minAltitude\":0,\"minAltitudeTime\":0,\"altitudeGain\":1,\"maxGpsAltitude\":null,\"maxGpsAltitudeTime\":null,\"maxClimb\":1,\"maxClimbTime\":0,\"maxSink\":null,\"maxSinkTime\":null,\"maxSpeed\":null,\"maxSpeedTime\":null,\"trackDistance\":null,\"maxStartDistance\":null,\"maxStartDistanceTime\":null,\"thermalCount\":0,\"circlingShare\":0,\"thermalClimb\":null,\"bestThermalClimb\":null,\"bestThermalTime\":null,\"landingLatitude\":null,\"landingLongitude\":null,\"thermalSource\":\"climbNoPosition\",\"thermals\":[]}
{\"file\":\"$work/card/LOG00001.CSV\",\"date\":\"2010-05-07T14:22:00Z\",\"duration\":10,\"segments\":1,\"dataLines\":12,\"positionLines\":11,\"skippedLines\":1,\"firstSkippedLine\":13,\"startAltitude\":0,\"maxAltitude\":2,\"maxAltitudeTime\":10,\"minAltitude\":0,\"minAltitudeTime\":0,\"altitudeGain\":2,\"maxGpsAltitude\":500,\"maxGpsAltitudeTime\":0,\"maxClimb\":0.2,\"maxClimbTime\":0,\"maxSink\":null,\"maxSinkTime\":null,\"maxSpeed\":50,\"maxSpeedTime\":10,\"trackDistance\":1853,\"maxStartDistance\":1853,\"maxStartDistanceTime\":10,\"thermalCount\":0,\"circlingShare\":0,\"thermalClimb\":null,\"bestThermalClimb\":null,\"bestThermalTime\":null,\"landingLatitude\":48.016667,\"landingLongitude\":8,\"thermalSource\":\"circling\",\"thermals\":[]}"

# A log of the other firmware's layout is read with the layout it has, and
# said so by the caption of the firmware that fits; the Duo chosen stays the
# Duo for a log of 17 fields. With auto nothing needs saying.
out=$(cd "$work" && "$tool" --summary --firmware 407 card/LOG00001.CSV 2>"$work/err")
status=$?
[ $status -eq 0 ] || fail "exit status $status for a log of the other layout"
expect_eq "other layout" "$out" "$(cd "$work" && "$tool" --summary --firmware 500 card/LOG00001.CSV)"
expect_eq "read as" "$(cat "$work/err")" "card/LOG00001.CSV: gelesen als Altorin        ab V. 50x"
out=$(cd "$work" && "$tool" --summary --firmware auto card/LOG00001.CSV 2>"$work/err")
expect_eq "auto" "$out" "$(cd "$work" && "$tool" --summary --firmware 500 card/LOG00001.CSV)"
[ -s "$work/err" ] && fail "auto: stderr $(cat "$work/err")"
printf '01;14:22:01;0;-2;431;4.9;5.1;21;0;12;8000000;48000000;500\r\n' >"$work/LOG00407.CSV"
"$tool" --summary --firmware duo "$work/LOG00407.CSV" >/dev/null 2>"$work/err"
expect_eq "407 under duo" "$(cat "$work/err")" "$work/LOG00407.CSV: gelesen als Altorin        bis V. 407x"
"$tool" --summary --json --firmware duo "$work/card/LOG00002.CSV" 2>"$work/err" | grep -q '"maxAltitude":1,' ||
    fail "a log of 17 fields under duo is no longer read in tenths"
[ -s "$work/err" ] && fail "duo: stderr $(cat "$work/err")"

# Usage errors: 2, nothing printed.
for args in "--json LOG" "--summary --format gpx LOG" "--summary --firmware 600 LOG" "--summary"; do
    out=$("$tool" $args 2>/dev/null)
    status=$?
    [ $status -eq 2 ] || fail "'$args' gave exit status $status, not 2"
    [ -z "$out" ] || fail "'$args' printed on stdout"
done

finish "summary checks"
