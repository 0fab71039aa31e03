# Sourced by the command-line test scripts: counts failed checks and ends the
# script with one summary line and the matching exit status; runs a program
# bound by permission bits also as root.
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_eq WHAT ACTUAL EXPECTED: a failed check with the difference shown.
expect_eq() {
    if [ "$2" != "$3" ]; then
        fail "$1"
        diff <(printf '%s\n' "$3") <(printf '%s\n' "$2") | sed 's/^/    /' >&2
    fi
}

# expect_lost_output WHAT COMMAND...: stdout on a full device is a failure
# (exit 1, named on stderr), never a silent success.
expect_lost_output() {
    local what=$1
    shift
    "$@" >/dev/full 2>"$work/lost"
    local got=$?
    [ "$got" -eq 1 ] || fail "$what to a full device: exit status $got, not 1"
    grep -q "standard output" "$work/lost" || fail "$what to a full device: no message"
}

# finish WHAT: "all WHAT passed", or the number of failed checks and exit 1.
finish() {
    if [ $failures -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all $1 passed"
}

# Root ignores permission bits: run the tool without the override rights, so
# chmod binds it as it binds a pilot. Other users run it as it is.
as_pilot() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --inh-caps=-dac_override,-dac_read_search \
            --bounding-set=-dac_override,-dac_read_search -- "$@"
    else
        "$@"
    fi
}
