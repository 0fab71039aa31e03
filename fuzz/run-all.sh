#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time, two at a time (CI has
# two cores). Seeds are copied first, so the repository's corpus stays as it
# is; new inputs and crash files stay in the build folder.
#   fuzz/run-all.sh BUILD_DIR SECONDS
set -euo pipefail
build=$(realpath "$1")
seconds=$2
corpus=$(realpath "$(dirname "$0")")/corpus
work=$build/fuzz-work
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts" "$work/logs"

run_one() {
    local target=$1 name=${1#fuzz_}
    cp -r "$corpus/$name" "$work/corpus/$name"
    local status=0
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/$name-" "$work/corpus/$name" \
        >"$work/logs/$name.log" 2>&1 || status=$?
    local summary execs rate
    summary=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/logs/$name.log" | tail -1 || true)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/logs/$name.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/logs/$name.log")
    if ((status != 0)); then
        echo "FINDING in $target (exit $status), log and input in $work:" >&2
        grep -E 'ERROR|invariant broken|runtime error|SUMMARY|Test unit written' \
            "$work/logs/$name.log" >&2 || true
        return 1
    fi
    echo "$target: ${execs:-?} runs, ${rate:-?} exec/s; $(sed -E 's/^#[0-9]+[[:space:]]+DONE[[:space:]]+//' <<<"$summary")"
}
export -f run_one
export build seconds corpus work

targets=()
for f in "$build"/fuzz/fuzz_*; do
    [ -x "$f" ] && [ -f "$f" ] && targets+=("$(basename "$f")")
done
((${#targets[@]})) || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }
printf '%s\n' "${targets[@]}" | xargs -P2 -I{} bash -c 'run_one {}'
