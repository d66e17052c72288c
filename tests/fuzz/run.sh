#!/usr/bin/env bash
# Runs each libFuzzer program of a fuzz build tree in turn for FUZZ_SECONDS seconds (60 unless
# set) over its committed corpus and prints a line per target; FUZZ_TARGETS picks targets.
# New inputs go to a scratch folder in the build tree, so the committed corpus stays small;
# FUZZ_KEEP=1 merges into it only the new inputs that reach branches it does not (branches, not
# hit counts, which would keep hundreds of files).
# A crash or a broken property is written to tests/fuzz/crashes/<target>/, which the replay tests
# of the native tree read too: it fails there until the fault is fixed (then move the input into
# the corpus under a name that says what it shows).
set -uo pipefail
build=${1:?usage: run.sh <fuzz build tree> [log folder]}
logs=${2:-$build/logs}
seconds=${FUZZ_SECONDS:-60}
keep=${FUZZ_KEEP:-0}
targets=${FUZZ_TARGETS:-settings alarm_table column_headings sort_order time_of_day cut_ansi}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"

# Longest input to try: a settings file or an alarm table with room to spare; short texts else.
max_len() {
    case $1 in
    settings | alarm_table) echo 16384 ;;
    *) echo 1024 ;;
    esac
}

failed=0
printf '%-16s %8s %12s %8s %8s %6s  %s\n' target seconds executions exec/s corpus cov result
for target in $targets; do
    program=$build/tests/fuzz/${target}_fuzzer
    if [ ! -x "$program" ]; then
        echo "$target: no program $program" >&2
        failed=1
        continue
    fi
    work=$build/fuzz-work/$target
    crashes=$here/crashes/$target
    log=$logs/fuzz-$target.log
    mkdir -p "$work" "$crashes"
    args=(-max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=10
        -print_final_stats=1 -artifact_prefix="$crashes/")
    [ -f "$here/$target.dict" ] && args+=(-dict="$here/$target.dict")
    "$program" "${args[@]}" "$work" "$here/corpus/$target" >"$log" 2>&1
    status=$?
    executions=$(awk '/stat::number_of_executed_units:/ { print $2 }' "$log")
    rate=$(awk '/stat::average_exec_per_sec:/ { print $2 }' "$log")
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+')
    corpus=$(find "$work" "$here/corpus/$target" -type f | wc -l)
    result=clean
    if [ "$status" -ne 0 ]; then
        result="FAILED, see $log"
        failed=1
    fi
    printf '%-16s %8s %12s %8s %8s %6s  %s\n' "$target" "$seconds" "${executions:-?}" \
        "${rate:-?}" "$corpus" "${cov:-?}" "$result"
    if [ "$status" -ne 0 ]; then
        grep -E 'property broken|ERROR: |runtime error|Test unit written to' "$log" | head -5
    fi
    rmdir "$crashes" "$here/crashes" 2>/dev/null
    if [ "$keep" = 1 ]; then
        before=$(find "$here/corpus/$target" -type f | wc -l)
        "$program" -merge=1 -use_counters=0 -max_len="$(max_len "$target")" "$here/corpus/$target" "$work" \
            >>"$log" 2>&1
        after=$(find "$here/corpus/$target" -type f | wc -l)
        echo "$target: $((after - before)) new input(s) kept in tests/fuzz/corpus/$target"
    fi
done
exit "$failed"
