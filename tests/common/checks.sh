# Sourced by the command-line test scripts: counts failed checks and ends the
# script with one summary line and the matching exit status.
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

# finish WHAT: "all WHAT passed", or the number of failed checks and exit 1.
finish() {
    if [ $failures -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all $1 passed"
}
