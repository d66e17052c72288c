#!/usr/bin/env bash
# Runs the three test layers and ends with one summary line over all of them:
# native unit tests (with sanitizers), Win32 tests under Wine, end-to-end tests of the real exe.
set -uo pipefail
build=${1:-build}
logs="$build/logs"
mkdir -p "$logs"
echo "test output: $logs/native-tests.log and $logs/wine-tests.log"

passed=0
failed=0
skipped=0
count() {
    # ctest closes with "N% tests passed, F tests failed out of T".
    local log=$1 line total fails
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        return
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    # ctest counts a skipped test as passed and lists it under "did not run".
    local skips
    skips=$(grep -c '(Skipped)$' "$log" || true)
    passed=$((passed + total - fails - skips))
    failed=$((failed + fails))
    skipped=$((skipped + skips))
}

echo "== native unit tests"
ctest --test-dir "$build/native" --output-on-failure -j2 2>&1 | tee "$logs/native-tests.log"
count "$logs/native-tests.log"

echo "== Win32 and end-to-end tests under Wine"
bash scripts/testenv.sh "$build/testenv" \
    ctest --test-dir "$build/win64" --output-on-failure --timeout 600 2>&1 | tee "$logs/wine-tests.log"
count "$logs/wine-tests.log"

echo
echo "unit, Win32 and end-to-end tests together:"
echo "total: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
