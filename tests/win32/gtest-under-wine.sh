#!/usr/bin/env bash
# Runs a Windows GoogleTest program under Wine and judges it by GoogleTest's own report.
# Wine's sound driver now and then crashes while a process that played a sound ends, after
# every result is out; such a run passed. A crash before the report, or any failed test, fails.
set -uo pipefail
report=$(mktemp)
trap 'rm -f "$report"' EXIT
# Into a file, not a pipe: the Wine server and desktop that the program starts keep its output
# open for seconds after it ends, and a pipe's reader would wait for them.
wine "$@" >"$report" 2>&1
status=$?
cat "$report"
if grep -q '^\[  FAILED  \]' "$report"; then
    exit 1
fi
if grep -q '^\[  PASSED  \]' "$report"; then
    exit 0
fi
# No final report: a test listing (judged by its exit code) or a run that died on the way.
exit "$status"
