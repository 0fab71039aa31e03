#!/bin/bash
# altorin-setup as a pilot or a script uses it: show in both languages and for
# each firmware, set with good and bad values, default, diff, rejected files,
# and writes that leave the old file when they fail.
set -u
tool=$(readlink -f "$2")
work=$(mktemp -d)
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home
. "$(dirname "$0")/../common/checks.sh"

# expect_status WHAT STATUS COMMAND...: stdout and stderr go to $work/out and $work/err.
expect_status() {
    local what=$1 want=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$want" ] || fail "$what: exit status $got, not $want ($(cat "$work/err"))"
}
bytes() { od -An -tu1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

default="1 60 20 20 1 1 47 0 1 0 0 0 0 1 2 1 3 0 0 0"
expect_status "--version" 0 "$tool" --version
[ "$(cat "$work/out")" = "altorin-setup V0.45" ] || fail "--version text"
expect_status "--help" 0 "$tool" --help
grep -q "diff \[--english\] A B" "$work/out" || fail "--help names diff"

# default, then show in both languages.
f=$work/SETUPUPL.HEX
expect_status "default" 0 "$tool" default "$f"
[ "$(bytes "$f")" = "$default" ] || fail "default bytes: $(bytes "$f")"
expect_status "show" 0 "$tool" show "$f"
grep -qx "  0=1  433.075 MHz (Sendekanal 1)  (byte 1)" "$work/out" || fail "show setup 0"
grep -qx "Setup 10  Betrieb mit UniLog, bzw. Sensor-Interface m. Pitot-Speed-S." "$work/out" ||
    fail "German shows the design-time captions"
grep -qx "  11=off  keine Ansage  (byte 0)" "$work/out" || fail "show an alarm switched off"
grep -qx "    \* 2  Sink- = Steig-Schwelle.*" "$work/out" || fail "show marks the chosen option"
expect_status "show --english" 0 "$tool" show --english "$f"
grep -qx "  1=60  60 seconds  (byte 60)" "$work/out" || fail "English unit"
grep -qx "Setup 10  Pitot-Speed-Sensor Auswahl" "$work/out" || fail "English caption table"
grep -qx "  3=20  20 Sekunden  (byte 20)" "$work/out" || fail "untranslated unit stays German"
grep -qx "  12=off  no announcement  (byte 0)" "$work/out" || fail "English off text"

# Firmware: 407 (the default without settings) lacks setups 16..18 and setup 5's option 4.
expect_status "show 407" 0 "$tool" show "$f"
grep -q "^Setup 16" "$work/out" && fail "407 shows setup 16"
grep -q "Integral-Variometer-Mode f. Schlepppilot" "$work/out" && fail "407 shows option 4 of setup 5"
for v in 500 duo; do
    expect_status "show $v" 0 "$tool" show --firmware "$v" --json "$f"
    grep -q "\"setup\": 18" "$work/out" || fail "$v shows setup 18"
    grep -q "\"firmware\": \"$v\"" "$work/out" || fail "$v named in JSON"
    expect_status "show --english $v" 0 "$tool" show --english --firmware "$v" "$f"
    grep -qx "Setup 4  Speed announcements" "$work/out" || fail "$v: English caption"
    grep -qx "  17:  not given  (byte 0)" "$work/out" || fail "$v: English capacity"
    grep -qx "  18=off  no capacity alarm  (byte 0)" "$work/out" || fail "$v: English alarm box"
done
mkdir -p "$XDG_CONFIG_HOME/AltorinTool"
printf '[AR_Version]\nAR_Version=500\n' >"$XDG_CONFIG_HOME/AltorinTool/AltorinTool.ini"
expect_status "stored firmware" 0 "$tool" show "$f"
grep -q "^Setup 17" "$work/out" || fail "the window's stored firmware is used"

# set: values as shown, side effects of the controls, applied in order.
expect_status "set" 0 "$tool" set "$f" 1=70 6=4,7 7=-0.3 3=off 12=5.5 9=1 11=45 10=4 13=2/5 \
    17=3.5% 18=30 8=3
[ "$(bytes "$f")" = "1 70 20 60 1 1 47 3 2 0 3 0 0 6 2 1 3 163 30 0" ] ||
    fail "set bytes: $(bytes "$f")"
expect_status "set 3 back" 0 "$tool" set "$f" 3=on 3=25
[ "$(bytes "$f" | cut -d' ' -f4)" = 25 ] || fail "3=on then 3=25"

# Displays of known bytes, as the window shows them.
k=$work/known
"$tool" default "$k"
expect_status "set known" 0 "$tool" set --firmware 500 "$k" 0=26 6=4.7 7=-0.3 17=3.5% 13=1/5
expect_status "show known" 0 "$tool" show --firmware 500 "$k"
for line in "0=26  433.700 MHz (Sendekanal 26)  (byte 26)" "6=4.7  4.7 Volt  (byte 47)" \
    "7=-0.3  -0.3 m/s  (byte 3)" "17=3.5%  3.5 Ah, alle Kapazitäts-Ansagen rel. in %  (byte 163)"; do
    grep -qxF "  $line" "$work/out" || fail "show $line"
done
# Firmware 407 hides setup 13's step: the mode alone is shown and set, the step stays.
expect_status "set under 407" 0 "$tool" set --firmware 407 "$k" 13=2
[ "$(bytes "$k" | cut -d' ' -f14)" = 6 ] || fail "407 keeps the step: $(bytes "$k")"
expect_status "show under 407" 0 "$tool" show --firmware 407 "$k"
grep -qx "  13=2  Werte relativ in m/s  (byte 6)" "$work/out" || fail "407 shows the mode alone"

# Bytes no control can set show no assignment to type back, and null in JSON.
printf '\001\377\024\000\001\001\057\000\001\000\000\000\000\001\002\001\003\200\000\000' \
    >"$work/odd"
expect_status "show odd" 0 "$tool" show --firmware 500 "$work/odd"
for line in "1:  255 Sekunden  (byte 255)" "3:  keine Ansage  (byte 0)" \
    "17:  0 Ah, alle Kapazitäts-Ansagen rel. in %  (byte 128)"; do
    grep -qxF "  $line" "$work/out" || fail "show $line"
done
expect_status "show odd --json" 0 "$tool" show --firmware 500 --json "$work/odd"
[ "$(grep -c '"value": null' "$work/out")" = 3 ] || fail "JSON null for the odd bytes"

# Refused values: named, exit 2, nothing written.
cp "$f" "$work/before"
for bad in 1=65 1=130 6=4.75 7=0.3 19=1 x=1 1 8=6 13=1/3 3=of 17=10 16=2; do
    expect_status "refuse $bad" 2 "$tool" set "$f" 1=80 "$bad"
    grep -qF "'$bad'" "$work/err" || fail "message names $bad: $(cat "$work/err")"
done
# An alarm whose box stores nothing when cleared is switched on by its threshold:
# "on" alone is refused rather than reported done with the alarm still off.
for on in 11=on 12=on; do
    expect_status "refuse $on" 2 "$tool" set "$f" "$on"
    grep -qF "'$on'" "$work/err" && grep -qF "for example ${on%=on}=" "$work/err" ||
        fail "$on names what to give: $(cat "$work/err")"
done
expect_status "refuse 12=on before its threshold" 2 "$tool" set "$f" 12=on 12=11.5
expect_status "refused under 407" 2 "$tool" set --firmware 407 "$f" 16=5
grep -q "not offered by firmware 407" "$work/err" || fail "407 message"
cmp -s "$f" "$work/before" || fail "a refused set wrote the file"

# diff: only the setups that differ, both values; exit 0 either way.
expect_status "diff same" 0 "$tool" diff "$f" "$work/before"
[ -s "$work/out" ] && fail "diff of equal files prints"
"$tool" default "$work/other"
expect_status "diff" 0 "$tool" diff --english "$work/other" "$f"
grep -qx "  - 1=60  60 seconds  (byte 60)" "$work/out" || fail "diff old value"
grep -qx "  + 1=70  70 seconds  (byte 70)" "$work/out" || fail "diff new value"
grep -q "^Setup 2 " "$work/out" && fail "diff lists an equal setup"

# Files the window rejects; a short file reads as the window reads it.
head -c 15 "$f" >"$work/short"
head -c 21 /dev/zero >"$work/long"
for bad in short long; do
    expect_status "$bad file" 1 "$tool" show "$work/$bad"
    grep -qF "$work/$bad: Keine gültige Altorin Setup-Datei!" "$work/err" || fail "$bad message"
done
expect_status "missing file" 1 "$tool" set "$work/none" 1=70
grep -qF "$work/none: Datei nicht gefunden" "$work/err" || fail "missing file message"
cp "$f" "$work/unreadable" && chmod 000 "$work/unreadable"
expect_status "unreadable file" 1 as_pilot "$tool" show "$work/unreadable"
grep -qF "$work/unreadable: Dateizugriff verweigert" "$work/err" || fail "unreadable message"
head -c 16 "$f" >"$work/sixteen"
expect_status "16 bytes" 0 "$tool" set "$work/sixteen" 0=2
[ "$(bytes "$work/sixteen")" = "2 70 20 25 1 1 47 3 2 0 3 0 0 6 2 1 3 0 0 0" ] ||
    fail "16-byte file: $(bytes "$work/sixteen")"

# default resets a setup file, never another file named by mistake.
printf 'Altorin Log V500\r\n01;14:22:01;0;0;0;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n' >"$work/LOG00001.CSV"
cp -p "$work/LOG00001.CSV" "$work/log.before"
expect_status "default over a log" 1 "$tool" default "$work/LOG00001.CSV"
cmp -s "$work/LOG00001.CSV" "$work/log.before" || fail "default replaced a log"

# A failed write leaves the old file: a read-only folder, a write-protected file.
mkdir "$work/ro" && cp "$f" "$work/ro/SETUPUPL.HEX" && chmod 555 "$work/ro"
expect_status "read-only folder" 1 as_pilot "$tool" set "$work/ro/SETUPUPL.HEX" 1=90
cmp -s "$f" "$work/ro/SETUPUPL.HEX" || fail "read-only folder: file changed"
expect_status "default into read-only folder" 1 as_pilot "$tool" default "$work/ro/SETUPUPL.HEX"
cmp -s "$f" "$work/ro/SETUPUPL.HEX" || fail "default into read-only folder: file changed"
chmod 755 "$work/ro" && chmod 444 "$work/ro/SETUPUPL.HEX"
expect_status "write-protected file" 1 as_pilot "$tool" set "$work/ro/SETUPUPL.HEX" 1=90
cmp -s "$f" "$work/ro/SETUPUPL.HEX" || fail "write-protected file changed"

# Output that cannot be written is a failure.
expect_lost_output "show" "$tool" show "$f"
expect_lost_output "diff" "$tool" diff "$work/other" "$f"
expect_lost_output "--help" "$tool" --help

# Usage errors.
expect_status "no command" 2 "$tool"
expect_status "unknown command" 2 "$tool" frob "$f"
expect_status "set without assignment" 2 "$tool" set "$f"
expect_status "unknown firmware" 2 "$tool" show --firmware 600 "$f"
expect_status "--json for set" 2 "$tool" set --json "$f" 1=70

finish "altorin-setup checks"
