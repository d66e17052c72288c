#!/usr/bin/env bash
# Usage: scripts/run.sh <build-dir> <exe>        (what `make run` calls)
#
# Runs the clock under Wine with a persistent prefix (<build-dir>/run-prefix) and the
# working directory <build-dir>/run, where it keeps its "Settings.def".
#   - With DISPLAY set, the clock shows on that display; Ctrl-C or closing it ends the run.
#   - Without DISPLAY, it runs on a private Xvfb with a null-sink PulseAudio, and a
#     screenshot of the whole screen is kept in <build-dir>/run/screen.png (every 3 s)
#     until Ctrl-C.
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$SCRIPT_DIR/lib/session.sh"

SCREENSHOT_INTERVAL=3
CLOCK_PID=""
CLOCK_NAME=""

# shellcheck disable=SC2317 # invoked through trap
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [[ -n "$CLOCK_PID" ]] && session_alive "$CLOCK_PID"; then
        # taskkill without /f posts WM_CLOSE, so the clock can save its settings as on a
        # normal exit; only if it does not end in time is it terminated.
        LC_ALL=$SESSION_WINE_LOCALE timeout 10 wine taskkill /im "$CLOCK_NAME" >/dev/null 2>&1 || true
        if ! session_poll 5 session_dead "$CLOCK_PID"; then
            session_end_pid "$CLOCK_PID" 10
        fi
        wait "$CLOCK_PID" 2>/dev/null || true
    fi
    # Ends the clock's helper processes in the run prefix (services, explorer) as well.
    session_stop_wine
    session_stop_daemons
    exit "$rc"
}

# Replaces <file> atomically so a viewer never sees half a PNG.
take_screenshot() {
    local file=$1 tmp
    tmp="$(dirname "$file")/.$(basename "$file").tmp"
    if timeout 10 import -display "$DISPLAY" -window root "png:$tmp" 2>/dev/null; then
        mv -f "$tmp" "$file"
    else
        rm -f "$tmp"
    fi
}

main() {
    if (($# != 2)); then
        echo "usage: $0 <build-dir> <exe>" >&2
        exit 2
    fi
    local build exe
    mkdir -p "$1"
    build=$(cd "$1" && pwd)
    [[ -f "$2" ]] || session_die "no such exe: $2"
    exe=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
    CLOCK_NAME=$(basename "$exe")

    exec 9>"$build/.run.lock"
    flock -n 9 || session_die "another run.sh is using $build"

    local rundir="$build/run" logdir="$build/run-logs"
    mkdir -p "$rundir" "$logdir"
    local clock_log="$logdir/veltrano.log"

    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP

    export WINEARCH=win64
    export WINEPREFIX="$build/run-prefix"
    export WINEDEBUG=-all

    local headless=0
    if [[ -z "${DISPLAY:-}" ]]; then
        headless=1
        session_start_xvfb "$logdir"
        session_start_pulse "$build/run-runtime" "$logdir"
        session_log "Xvfb and PulseAudio logs: $logdir"
    fi

    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        session_log "creating Wine prefix $WINEPREFIX (first run only, takes a few seconds)"
        rm -rf "$WINEPREFIX"
        session_create_prefix "$logdir/wineboot.log"
    fi

    session_log "clock output (stdout/stderr): $clock_log"
    session_log "working directory: $rundir"
    cd "$rundir"
    LC_ALL=$SESSION_WINE_LOCALE wine "$exe" >"$clock_log" 2>&1 &
    CLOCK_PID=$!

    if ((headless)); then
        local shot="$rundir/screen.png"
        session_log "screenshot (refreshed every ${SCREENSHOT_INTERVAL}s): $shot"
        session_log "press Ctrl-C to stop"
        while session_alive "$CLOCK_PID"; do
            take_screenshot "$shot"
            # Wakes early when the clock exits, so the loop does not outlive it by 3 s.
            session_poll "$SCREENSHOT_INTERVAL" session_dead "$CLOCK_PID" || true
        done
    fi

    local rc=0
    wait "$CLOCK_PID" || rc=$?
    CLOCK_PID=""
    session_log "clock exited with $rc"
    exit "$rc"
}

main "$@"
