#!/bin/bash
# altorintool's own options: --help and --version answer without a display,
# an unknown option is a usage error rather than a log to open, and Qt's
# options still reach Qt.
set -u
tool=$(readlink -f "$3")
. "$(dirname "$0")/../common/checks.sh"
err=$(mktemp)
trap 'rm -f "$err"' EXIT

# No display: a QApplication could not start, so these must answer first.
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$tool" "$@"; }
help=$(COLUMNS=60 nodisplay --help 2>"$err")
[ $? -eq 0 ] || fail "--help: exit status, $(cat "$err")"
grep -q '^Usage: altorintool \[LOGFILE\.\.\.\]$' <<<"$help" || fail "--help: usage $help"
grep -q 'flight view after the firmware reminder' <<<"$help" || fail "--help: no word of logs"
grep -q -- "-v, --version" <<<"$help" || fail "--help: no --version"
grep -q -- "help-all\|-qmljsdebugger" <<<"$help" && fail "--help names Qt's options"
[ -z "$(awk 'length($0) > 60' <<<"$help")" ] || fail "--help not wrapped to 60 columns"
grep -qx 'altorintool V[0-9.]*' <<<"$(nodisplay --version)" || fail "--version: $(nodisplay --version)"

# Judged once Qt has taken its own options (-platform here), before a window.
out=$("$tool" -platform offscreen --bogus LOG00001.CSV 2>"$err")
[ $? -eq 2 ] || fail "unknown option: exit status"
[ -z "$out" ] || fail "unknown option: stdout $out"
# (Qt may add notes of its own.)
grep -qx "altorintool: Unknown option 'bogus'." "$err" && grep -qx "Try 'altorintool --help'." \
    "$err" || fail "unknown option: message $(cat "$err")"

finish "command-line checks of altorintool"
