#!/usr/bin/env bash
# Usage (inside scripts/testenv.sh): scripts/test-lane.sh <build-dir> <label>...
#
# Runs the Windows-side tests of each ctest label in turn, in verbose mode so that every test
# case's own result reaches the log. The Win32 tests run with windows that no window manager
# handles: there is none on Xvfb, and Wine waits two seconds for one to withdraw each managed
# window it hides (the tray icon's window in explorer.exe at every icon removal, every window
# a test destroys). The end-to-end tests see the real program as a user would, managed.
set -uo pipefail
build=$1
shift
UNMANAGED_APPS=(explorer.exe veltrano_win32_tests.exe veltrano_shutdown_tests_winxp.exe
    veltrano_shutdown_tests_win7.exe veltrano_shutdown_tests_win10.exe veltrano_soak.exe)

set_managed() {
    local managed=$1 app key
    for app in "${UNMANAGED_APPS[@]}"; do
        key="HKCU\\Software\\Wine\\AppDefaults\\$app\\X11 Driver"
        if [[ $managed == N ]]; then
            wine reg add "$key" /v Managed /d N /f >/dev/null 2>&1
        else
            wine reg delete "$key" /f >/dev/null 2>&1
        fi
    done
    # Running programs (explorer.exe above all) take the setting when they start again.
    wineserver -k
    wineserver -w
}

# The package tests need what `make dist` is building meanwhile (scripts/run-tests.sh): wait for
# its status file, and count a failed build as a failed test run.
wait_for_dist() {
    local status=${TEST_LANE_DIST_STATUS:-}
    [[ -n "$status" ]] || return 0
    while [[ ! -s "$status" ]]; do
        sleep 1
    done
    if [[ $(cat "$status") != 0 ]]; then
        echo "make dist failed; the package tests cannot run"
        echo "0% tests passed, 1 tests failed out of 1"
        return 1
    fi
}

rc=0
for label in "$@"; do
    if [[ $label == dist ]] && ! wait_for_dist; then
        rc=1
        continue
    fi
    if [[ $label == win32 ]]; then
        set_managed N
    else
        set_managed Y
    fi
    ctest --test-dir "$build/win64" -L "^$label\$" -V --timeout 600 || rc=1
done
exit "$rc"
