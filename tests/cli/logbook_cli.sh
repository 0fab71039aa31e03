#!/bin/bash
# altorin-logbook as a pilot's script uses it: import a card twice, list and
# sum up as tables and JSON, change and remove entries, export CSV; exit 1
# when a log failed or an entry is unknown, 2 for usage errors; a damaged
# logbook reported and left as it was.
set -u
tool=$(readlink -f "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

line500() { # elapsed altitude lat speed
    printf '01;10:00:00;%s;-2;%s;4.9;5.1;21;0;12;8120000;%s;%s;%s;180;7;1\r\n' \
        "$1" "$2" "$3" $((480 + $2)) "$4"
}

# One flight: a minute on the ground, a winch launch to 120 m, a glide down
# at about 1 m/s, landing at 200 s, a minute on the ground.
flight() {
    echo "Altorin V500"
    for t in $(seq 0 260); do
        if ((t < 60)); then alt=0 v=0
        elif ((t < 75)); then alt=$(((t - 60) * 8)) v=60
        elif ((t < 200)); then alt=$((120 - (t - 75) * 120 / 125)) v=45
        else alt=0 v=0; fi
        line500 "$t" "$alt" $((48120000 + (t > 60 && t < 200 ? t * 20 : 0))) "$v"
    done
}
mkdir -p "$work/card/old"
flight >"$work/card/LOG00001.CSV"
{ flight; line500 261 0 48120000 0; } >"$work/card/old/log00002.csv"
echo "Altorin V500" >"$work/card/LOG00003.CSV"
touch -d '2026-06-14 15:42:10' "$work/card/LOG00001.CSV" "$work/card/old/log00002.csv"

# Only an import makes a logbook: a command that reads, on a folder without
# one (a mistyped --logbook), says so and leaves the folder as it was.
for command in list totals "show 1" "export-csv $work/none.csv"; do
    # shellcheck disable=SC2086
    "$tool" --logbook "$work/card" $command >/dev/null 2>"$work/err"
    expect_eq "'$command' without a logbook" $? 1
    grep -q "kein Flugbuch in diesem Ordner" "$work/err" || fail "'$command': $(cat "$work/err")"
done
expect_eq "card untouched" "$(find "$work/card" | wc -l)" 5
[ -e "$work/data" ] && fail "a read made the default logbook"

out=$("$tool" import --model "Easy Glider" "$work/card")
expect_eq "import exit status" $? 0
expect_eq "import lines" "$(sed "s|$work/||" <<<"$out")" "card/LOG00001.CSV: hinzugefügt (Eintrag 1)
card/LOG00003.CSV: übersprungen: keine Datenzeile
card/old/log00002.csv: hinzugefügt (Eintrag 2)
2 hinzugefügt, 0 schon im Flugbuch, 1 übersprungen, 0 fehlgeschlagen"
[ -f "$work/data/AltorinTool/logbook/logbook.sqlite" ] || fail "no logbook in XDG_DATA_HOME"

cp "$work/card/LOG00001.CSV" "$work/renamed.csv"
out=$("$tool" import "$work/card" "$work/renamed.csv" "$work/missing.csv" 2>"$work/err")
expect_eq "import again exit status" $? 1
expect_eq "import again count" "$(tail -1 <<<"$out")" \
    "0 hinzugefügt, 3 schon im Flugbuch, 1 übersprungen, 1 fehlgeschlagen"
expect_eq "import again failure" "$(sed "s|$work/||" "$work/err")" \
    "missing.csv: fehlgeschlagen: Datei nicht gefunden"

json=$("$tool" list --json)
expect_eq "list --json exit status" $? 0
for member in '"id":1' '"file":"LOG00001.CSV"' '"date":"2026-06-14T15:42:10Z"' \
    '"model":"Easy Glider"' '"firmware":"500"' '"launches":1' '"maxAltitude":120' \
    '"sha256":"' '"site":""' '"note":""' '"logTime":260' '"trackDistance":' \
    '"thermalCount":0' '"circlingShare":0' '"thermalClimb":null' '"thermalSource":"'; do
    grep -qF "$member" <<<"$json" || fail "list --json lacks $member"
done
flight_time=$(grep -o '"flightTime":[0-9.]*' <<<"$json" | head -1 | cut -d: -f2)
awk -v f="$flight_time" 'BEGIN { exit !(f >= 130 && f <= 150) }' ||
    fail "flight time $flight_time, not 140 s within 10 s"

"$tool" set 2 --model Ventus --site "Wasserkuppe" --date 2025-08-30T11:05
expect_eq "set exit status" $? 0
expect_eq "totals by model" "$("$tool" totals --by model --json | grep -o '"key":"[^"]*","launches":[0-9]*')" \
    '"key":"Easy Glider","launches":1
"key":"Ventus","launches":1'
expect_eq "totals by year keys" "$("$tool" totals --by year | cut -d' ' -f1)" "Year
2025
2026"
totals=$("$tool" totals --json)
grep -qE '"trackDistance":[0-9]+(\.[0-9]{1,3})?[,}]' <<<"$totals" || fail "totals not to the millimetre: $totals"
expect_eq "since" "$("$tool" totals --since 2026-01-01 --json | grep -o '"flights":[0-9]*')" '"flights":1'
expect_eq "list range" "$("$tool" list --from 2025-08-30 --to 2025-08-30 --json | grep -o '"id":[0-9]*')" '"id":2'
# Totals over the list's filter; a model renamed everywhere.
expect_eq "totals of a model" "$("$tool" totals --model Ventus --json | grep -o '"flights":[0-9]*')" '"flights":1'
expect_eq "totals by text" "$("$tool" totals --text wasser --from 2025-08-30 --json | grep -o '"flights":[0-9]*')" '"flights":1'
"$tool" rename-model Ventus "Ventus 2c"
expect_eq "rename-model exit status" $? 0
expect_eq "renamed" "$("$tool" list --model "Ventus 2c" --json | grep -o '"id":[0-9]*')" '"id":2'
"$tool" rename-model Discus Duo 2>"$work/err"
expect_eq "rename-model of no entry" $? 1
grep -q 'kein Eintrag mit dem Modell "Discus"' "$work/err" || fail "rename-model: $(cat "$work/err")"
"$tool" rename-model "Ventus 2c" Ventus
"$tool" show 2 | grep -qx "site: Wasserkuppe" || fail "show: no site"
"$tool" show 2 | grep -qx "thermalCount: 0" || fail "show: no thermal count"

"$tool" export-csv "$work/book.csv"
expect_eq "export exit status" $? 0
expect_eq "csv rows" "$(wc -l <"$work/book.csv")" 3
head -1 "$work/book.csv" | grep -q "^id,date,fileDate,file,sha256,.*,maxStartDistance,thermalCount,circlingShare,thermalClimb,bestThermalClimb,bestThermalGain,thermalSource.$" ||
    fail "csv heading"

# Never into the logbook's own folder: the export would replace the database
# or a kept log, and the logbook with it.
book=$work/data/AltorinTool/logbook
cp -p "$book/logbook.sqlite" "$work/before.sqlite"
for target in "$book/logbook.sqlite" "$book/logs/x.CSV" "$book/../logbook/new.csv"; do
    "$tool" export-csv "$target" 2>"$work/err"
    expect_eq "export into the logbook '$target'" $? 1
    grep -q "Ausgabe läge im Flugbuch-Ordner" "$work/err" || fail "export into the logbook: $(cat "$work/err")"
done
cmp -s "$book/logbook.sqlite" "$work/before.sqlite" || fail "the export changed the database"
[ -e "$book/logs/x.CSV" ] && fail "an export among the kept logs"
"$tool" export-csv "$work" 2>"$work/err"
grep -q "ist ein Ordner" "$work/err" || fail "export to a folder: $(cat "$work/err")"

"$tool" show 9 2>/dev/null
expect_eq "show unknown exit status" $? 1
"$tool" remove 1
expect_eq "remove exit status" $? 0
expect_eq "after remove" "$("$tool" list --json | grep -o '"id":[0-9]*')" '"id":2'
expect_eq "copies after remove" "$(ls "$work/data/AltorinTool/logbook/logs" | wc -l)" 1

for usage in "" "fly" "list extra" "show" "show x" "remove" "set 2" "import" \
    "list --from 2026-1-1" "totals --by week" "list --site x" "import --firmware 600 x" \
    "rename-model Ventus" "totals --since 2026-01-01 --from 2026-01-01" "totals --to 1.1.2026"; do
    # shellcheck disable=SC2086
    "$tool" $usage >/dev/null 2>&1
    expect_eq "usage error '$usage'" $? 2
done

# Another logbook folder; a damaged one is reported and left as it was.
mkdir -p "$work/bad"
echo "not a logbook" >"$work/bad/logbook.sqlite"
"$tool" --logbook "$work/bad" import "$work/card" 2>"$work/err" >/dev/null
expect_eq "damaged exit status" $? 1
grep -q "Flugbuch beschädigt: " "$work/err" || fail "damaged: no message"
expect_eq "damaged file kept" "$(cat "$work/bad/logbook.sqlite")" "not a logbook"

expect_lost_output "list" "$tool" list
finish "altorin-logbook checks"
