#!/bin/bash
# altorin-convert against bad logs, each followed by a good one: the failure
# on stderr as "LOG: message" (or "LOG:LINE: message" for a bad line), the good
# log still converted, exit status 1, and
# the earlier output beside the bad log untouched. Then bad settings files,
# which must leave the converter on its default firmware.
set -u
tool=$(readlink -f "$1")
work=$(mktemp -d)
disk=$work/disk
cleanup() {
    mountpoint -q "$disk" 2>/dev/null && umount -l "$disk"
    chmod -R u+rwX "$work"
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home TZ=UTC
. "$(dirname "$0")/../common/checks.sh"

line() { # longitude, field 12
    printf '01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;%s;48123456;%s;42;180;7;1\r\n' \
        "${1:-8123456}" "${2:-500}"
}

output_name() { # format, log name
    case $1 in
    gpx) echo "${2%.*}.GPX" ;;
    trakmond) echo "TMD${2:3}" ;;
    *) echo "${2%.*}.kml" ;;
    esac
}

mkdir -p "$work/good" "$work/huge"
good=$work/good/LOG00009.CSV
line >"$good"
# One log of a 100 MB longitude without a line end, shared by the formats.
huge=$work/huge/LOG00001.CSV
{
    printf '01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;'
    head -c $((100 << 20)) /dev/zero | tr '\0' 1
    printf ';48123456;500;42;180;7;1'
} >"$huge"
ones=$(printf '1%.0s' {1..64})

denied="Dateizugriff verweigert"
itself="Ausgabe wäre die Log-Datei selbst:"
# The line is named once, in the LOG:LINE: prefix.
few() { echo "nur $(($1 == 15 ? 10 : 11)) Felder, die Konvertierung braucht $1 (Anführungszeichen um ';'?)"; }
declare -A needed=([kml2d]=12 [kml3d-gps]=13 [kml3d-baro]=12 [gpx]=14 [trakmond]=15)
# Rows whose failure is a bad line name it; an empty log is warned about.
declare -A failing_line=([nul]=1 [huge]=1 [big]=1 [quote]=1)
no_folder_log="Keine Log-Datei (LOG?????.CSV) in diesem Ordner"
empty_track="Warnung: keine Trackpunkte, die Spur ist leer"

# Sets up row $1 for format $2 in a fresh folder: $log, $target, $old (the
# earlier output's bytes), $runner. Returns 1 when the row cannot be set up.
setup_row() {
    local row=$1 format=$2
    dir=$work/$row-$format
    [ "$row" = huge ] && dir=$work/huge
    runner=
    if [ "$row" = full-disk ]; then
        mkdir -p "$disk"
        mountpoint -q "$disk" && umount -l "$disk"
        mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null || return 1
        dir=$disk
    fi
    mkdir -p "$dir"
    log=$dir/LOG00001.CSV
    [ "$row" = output-is-log ] && log=$dir/$(output_name "$format" LOG00001.CSV)
    target=$dir/$(output_name "$format" "$(basename "$log")")
    old=$work/old
    printf 'an earlier output\r\n' >"$old"
    [ "$row" = output-is-log ] && old=
    [ -z "$old" ] || cp "$old" "$target"
    case $row in
    missing) ;;
    folder) mkdir "$log" ;;
    unreadable) line >"$log" && chmod 000 "$log" && runner=as_pilot ;;
    empty) : >"$log" ;;
    nul) printf '01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;81\0 23456;48123456;500;42;180;7;1\r\n' >"$log" ;;
    huge) ;; # written once above
    big) line 4294967296 4294967296 >"$log" ;;
    quote) line '"8123456' >"$log" ;;
    read-only) line >"$log" && chmod 555 "$dir" && runner=as_pilot ;;
    full-disk) line >"$log" && { dd if=/dev/zero of="$dir/filler" bs=4k 2>/dev/null || true; } ;;
    output-is-log) line >"$log" ;;
    link) line >"$log" && rm -f "$target" && ln -s "$log" "$target" && old= ;;
    esac
}

# The conversions in the order altorin-convert lists them.
read -r -a formats <<<"$("$tool" --help | sed -n 's/.*--format <\([^>]*\)>.*/\1/p' | tr '|' ' ')"

# row, then the message of each format in that order (kml2d kml3d-gps
# kml3d-baro gpx trakmond); "ok" for a finished conversion.
check_row() {
    local row=$1
    shift
    [ $# -eq ${#formats[@]} ] || fail "$row: $# messages for ${#formats[@]} formats"
    local format message
    for format in "${formats[@]}"; do
        message=$1
        shift
        if ! setup_row "$row" "$format"; then
            echo "SKIP: $row: cannot mount a tmpfs for the full disk (needs root)"
            return
        fi
        [ "$message" = few ] && message=$(few "${needed[$format]}")
        [ "$message" = itself ] && message="$itself $(output_name "$format" LOG00001.CSV)"
        local before
        before=$(ls -A "$dir")
        rm -f "$work/log"
        [ -f "$log" ] && [ "$row" != huge ] && [ "$row" != unreadable ] && cp "$log" "$work/log"
        out=$($runner "$tool" --firmware 500 --format "$format" "$log" "$good" 2>"$work/err")
        status=$?
        chmod u+rwx "$dir"
        [ -e "$log" ] && chmod u+rw "$log"
        local good_out where=$log
        good_out=$work/good/$(output_name "$format" LOG00009.CSV)
        [ -n "${failing_line[$row]:-}" ] && where=$log:${failing_line[$row]}
        if [ "$message" = ok ]; then
            [ $status -eq 0 ] || fail "$row $format: exit status $status"
            [ "$out" = "$target"$'\n'"$good_out" ] || fail "$row $format: outputs '$out'"
            if [ "$row" = empty ]; then
                [ "$(cat "$work/err")" = "$log: $empty_track" ] ||
                    fail "$row $format: stderr $(head -c 300 "$work/err")"
            else
                [ -s "$work/err" ] && fail "$row $format: stderr $(head -c 300 "$work/err")"
            fi
            cmp -s "$target" "$work/old" && fail "$row $format: output not written"
        else
            [ $status -eq 1 ] || fail "$row $format: exit status $status"
            [ "$out" = "$good_out" ] || fail "$row $format: the next log gave '$out'"
            [ "$(cat "$work/err")" = "$where: $message" ] ||
                fail "$row $format: stderr '$(head -c 300 "$work/err")', expected '$where: $message'"
            [ -z "$old" ] || cmp -s "$target" "$old" ||
                fail "$row $format: the earlier output changed"
            [ ! -f "$work/log" ] || cmp -s "$log" "$work/log" || fail "$row $format: the log changed"
            [ "$row" != link ] || [ -L "$target" ] || fail "$row $format: the link was replaced"
            [ "$(ls -A "$dir")" = "$before" ] || fail "$row $format: files left: $(ls -A "$dir")"
        fi
        [ "$row" = full-disk ] && umount -l "$disk"
    done
}

check_row missing "Datei nicht gefunden" "Datei nicht gefunden" "Datei nicht gefunden" \
    "Datei nicht gefunden" "Datei nicht gefunden"
# A folder stands for the logs in it; this one, though named like a log, has none.
check_row folder "$no_folder_log" "$no_folder_log" "$no_folder_log" "$no_folder_log" \
    "$no_folder_log"
check_row unreadable "$denied" "$denied" "$denied" "$denied" "$denied"
check_row empty ok ok ok ok ok
check_row nul few few few few few
long="'$ones…' ist kein gültiger Integerwert"
check_row huge "$long" "$long" "$long" "$long" ok
big="'4294967296' ist kein gültiger Integerwert"
check_row big "$big" "$big" "$big" "$big" ok
check_row quote few few few few few
check_row read-only "$denied" "$denied" "$denied" "$denied" "$denied"
check_row full-disk "E/A-Fehler 28" "E/A-Fehler 28" "E/A-Fehler 28" "E/A-Fehler 28" \
    "E/A-Fehler 28"
check_row output-is-log itself itself itself itself itself
check_row link itself itself itself itself itself

# The 100 MB line costs memory for the line alone (GNU time, where installed;
# not under AddressSanitizer, whose quarantine and shadow memory swamp it).
if grep -qa __asan_ "$tool"; then
    echo "SKIP: peak memory of the 100 MB line: the tool is built with AddressSanitizer"
elif [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M -o "$work/rss" "$tool" --firmware 500 --format gpx "$huge" \
        >/dev/null 2>&1
    rss=$(tail -n 1 "$work/rss")
    [ "$rss" -lt $((300 << 10)) ] || fail "100 MB line: peak memory $rss KiB"
else
    echo "SKIP: peak memory of the 100 MB line: /usr/bin/time is not installed"
fi

# A bad settings file at start: the default firmware (407, whose logs have 13
# fields, so the 13-field line gives a point; under 500 it would be a log of
# the other firmware and fail), nothing on stderr, exit 0.
settings=$XDG_CONFIG_HOME/AltorinTool/AltorinTool.ini
good407=$work/good/LOG00407.CSV
printf '01;14:22:01;75;-2;431;4.9;5.1;21;0;12;8123456;48123456;500\r\n' >"$good407"
check_settings() { # what, then the file is set up by the caller
    local out
    rm -f "$work/good/LOG00407.GPX"
    out=$($runner "$tool" --format gpx "$good407" 2>"$work/err")
    status=$?
    chmod -R u+rwX "$XDG_CONFIG_HOME"
    [ $status -eq 0 ] || fail "settings $1: exit status $status"
    [ -s "$work/err" ] && fail "settings $1: stderr $(head -c 300 "$work/err")"
    grep -q "<trkpt" "$work/good/LOG00407.GPX" || fail "settings $1: not the default firmware"
    rm -rf "$XDG_CONFIG_HOME"
    mkdir -p "$(dirname "$settings")"
    runner=
}
mkdir -p "$(dirname "$settings")"
check_settings missing
mkdir "$settings" && check_settings folder
printf '[AR_Version]\nAR_Version=500\n' >"$settings" && chmod 000 "$settings" &&
    runner=as_pilot && check_settings unreadable
: >"$settings" && check_settings empty
printf '[AR_Version]\nAR_Version=5\0000\n' >"$settings" && check_settings "NUL bytes"
{
    printf '[AR_Version]\nAR_Version='
    head -c $((100 << 20)) /dev/zero | tr '\0' 5
} >"$settings" && check_settings "line of 100 MB"
printf '[AR_Version]\nAR_Version=4294967796\n' >"$settings" && check_settings "integer beyond 32 bits"
printf '[AR_Version]\nAR_Version="500\n' >"$settings" && check_settings "unterminated quote"

finish "bad-input checks of altorin-convert"
