#!/usr/bin/env bash
# Runs the test layers and ends with one summary line over all of them, counting test cases:
# the native unit tests (with sanitizers) first, then the Win32 tests and the end-to-end tests
# of the real program under Wine, in two lanes beside `make dist`, and last, alone on the
# machine, the end-to-end tests that measure time.
set -uo pipefail
build=${1:-build}
logs="$build/logs"
mkdir -p "$logs"
echo "test output: $logs/native-tests.log, $logs/lane1.log (Win32, then end-to-end)," \
    "$logs/lane2.log (end-to-end, then packages), $logs/dist-build.log (make dist)," \
    "$logs/timed.log (end-to-end tests that measure time)"

passed=0
failed=0
skipped=0
# Counts the test cases of a log: one line each, as GoogleTest, unittest or ctest print them.
count() {
    local log=$1
    local ok fail skip ctest_fails runs
    # GoogleTest's own lines (the Win32 programs, under ctest -V) and unittest's (-v); a
    # unittest verdict stands on a line of its own when the test wrote something meanwhile.
    ok=$(grep -cE '^([0-9]+: )?\[       OK \] |\.\.\. ok$|^([0-9]+: )?ok$' "$log" || true)
    fail=$(grep -cE '^([0-9]+: )?\[  FAILED  \] [^ ]+ \([0-9]+ ms\)|\.\.\. (FAIL|ERROR)$|^([0-9]+: )?(FAIL|ERROR)$' "$log" || true)
    skip=$(grep -cE '^([0-9]+: )?\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)|\.\.\. skipped' "$log" || true)
    # ctest's summary: a test that died before reporting its cases still counts as failed.
    runs=$(grep -cE 'tests passed, [0-9]+ tests? failed out of' "$log" || true)
    ctest_fails=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" |
        sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' | awk '{ sum += $1 } END { print sum + 0 }')
    if ((runs == 0)); then
        echo "$(basename "$log" .log): no test summary"
        failed=$((failed + 1))
        return
    fi
    ((ctest_fails > fail)) && fail=$ctest_fails
    passed=$((passed + ok))
    failed=$((failed + fail))
    skipped=$((skipped + skip))
    echo "$(basename "$log" .log): $ok passed, $fail failed, $skip skipped"
}

echo "== native unit tests"
ctest --test-dir "$build/native" --output-on-failure -j2 >"$logs/native-tests.log" 2>&1
# Each native test case is a ctest test of its own: count them from ctest's summary.
line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/native-tests.log" | tail -1)
if [ -z "$line" ]; then
    echo "native-tests: no test summary"
    failed=$((failed + 1))
else
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    skips=$(grep -c '(Skipped)$' "$logs/native-tests.log" || true)
    passed=$((passed + total - fails - skips))
    failed=$((failed + fails))
    skipped=$((skipped + skips))
    echo "native-tests: $line"
    sed -n '/The following tests FAILED/,$p' "$logs/native-tests.log"
fi

echo "== Win32, end-to-end and package tests under Wine, in two lanes; make dist meanwhile"
# The shipped programs and the packages are built at the lowest priority while the tests run:
# the end-to-end tests mostly wait for real time to pass. The package tests wait for them.
dist_status="$build/dist-build.status"
rm -f "$dist_status"
(
    nice -n 19 make --no-print-directory dist BUILD="$build" >"$logs/dist-build.log" 2>&1
    echo $? >"$dist_status"
) &
# Two test environments (display, sound server, Wine prefix) at once: a second lane of
# end-to-end tests nearly halves the wait.
start=$SECONDS
bash scripts/testenv.sh "$build/testenv-lane1" \
    bash scripts/test-lane.sh "$build" win32 e2e_lane1 >"$logs/lane1.log" 2>&1 &
TEST_LANE_DIST_STATUS="$dist_status" bash scripts/testenv.sh "$build/testenv-lane2" \
    bash scripts/test-lane.sh "$build" e2e_lane2 dist >"$logs/lane2.log" 2>&1 &
wait
echo "both lanes done in $((SECONDS - start)) s"
if [[ $(cat "$dist_status" 2>/dev/null) != 0 ]]; then
    echo "make dist failed:"
    tail -20 "$logs/dist-build.log"
fi
echo "== end-to-end tests that measure time, alone"
start=$SECONDS
bash scripts/testenv.sh "$build/testenv-timed" \
    bash scripts/test-lane.sh "$build" e2e_timed >"$logs/timed.log" 2>&1
echo "done in $((SECONDS - start)) s"
for name in lane1 lane2 timed; do
    count "$logs/$name.log"
    # What failed, so a red run can be read without opening the logs.
    grep -E '^([0-9]+: )?\[  FAILED  \] [^ ]+ \([0-9]+ ms\)|^(FAIL|ERROR): |\*\*\*(Failed|Timeout|Exception)' \
        "$logs/$name.log" || true
done

echo
echo "unit, Win32 and end-to-end tests together:"
echo "total: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
