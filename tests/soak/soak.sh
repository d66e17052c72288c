#!/usr/bin/env bash
# Usage: tests/soak/soak.sh [build-dir]   (`make soak`)
#
# A simulated week of the clock under Wine, the first day with the second hand shown. Prints its
# figures (also kept in <build>/logs/soak.log) and fails on any finding.
set -euo pipefail
build=${1:-build}
exe="$build/win64/tests/soak/veltrano_soak.exe"

if [[ ${2:-} == --inside-testenv ]]; then
    # As in the Win32 test lane: no window manager runs on Xvfb, and Wine would wait two seconds
    # for one at every managed window it hides (each day's countdown, the tray icon's window).
    for app in explorer.exe veltrano_soak.exe; do
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$app\\X11 Driver" /v Managed /d N /f \
            >/dev/null 2>&1
    done
    wineserver -k
    wineserver -w
    exec bash tests/win32/gtest-under-wine.sh "$exe" --days=7 --second-hand-days=1
fi

mkdir -p "$build/logs"
echo "soak output: $build/logs/soak.log"
bash scripts/testenv.sh "$build/testenv" bash "$0" "$build" --inside-testenv 2>&1 |
    grep -a --line-buffered -vE '^ALSA|^\[testenv' | tee "$build/logs/soak.log"
