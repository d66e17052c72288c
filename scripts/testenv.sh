#!/usr/bin/env bash
# Usage: scripts/testenv.sh <build-dir> <command> [args...]
#
# Runs <command> inside a throw-away test environment and exits with its exit code:
#   - a private Xvfb (1024x768x24) on the first free display from :90 up,
#   - a private PulseAudio daemon whose default sink is the null sink "vsink",
#   - a fresh 64-bit Wine prefix at <build-dir>/wineprefix,
# and takes all of it down again afterwards, also on Ctrl-C or an error.
#
# The command sees: DISPLAY, XDG_RUNTIME_DIR, PULSE_SERVER, PULSE_COOKIE, VELTRANO_SINK,
# TESTENV_XVFB_PID, WINEARCH, WINEPREFIX, WINEDEBUG and LC_ALL (zh_CN.UTF-8, which makes Wine's ANSI code
# page 936 even though the Linux locale itself is not installed).
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$SCRIPT_DIR/lib/session.sh"

COMMAND_PID=""

# shellcheck disable=SC2317 # invoked through trap
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [[ -n "$COMMAND_PID" ]] && session_alive "$COMMAND_PID"; then
        session_end_pid "$COMMAND_PID" 10
    fi
    session_stop_wine
    session_stop_daemons
    exit "$rc"
}

# shellcheck disable=SC2317 # invoked through trap
on_signal() {
    local sig=$1
    session_log "got SIG$sig, cleaning up"
    # The command runs in the background (so that this shell can react at once), and
    # background jobs of a script ignore SIGINT: pass the request on as TERM.
    if [[ -n "$COMMAND_PID" ]]; then
        kill -TERM "$COMMAND_PID" 2>/dev/null || true
    fi
    case $sig in
    INT) exit 130 ;;
    HUP) exit 129 ;;
    *) exit 143 ;;
    esac
}

main() {
    if (($# < 2)); then
        echo "usage: $0 <build-dir> <command> [args...]" >&2
        exit 2
    fi
    local build
    mkdir -p "$1"
    build=$(cd "$1" && pwd)
    shift

    # Two environments on one build dir would delete each other's prefix.
    exec 9>"$build/.testenv.lock"
    flock -n 9 || session_die "another testenv.sh is using $build"

    local logdir="$build/testenv-logs"
    rm -rf "$logdir"
    mkdir -p "$logdir"
    session_log "logs: $logdir (xvfb.log, pulse.log, wineboot.log)"

    trap cleanup EXIT
    trap 'on_signal INT' INT
    trap 'on_signal TERM' TERM
    trap 'on_signal HUP' HUP

    export WINEARCH=win64
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all

    # A previous run that was killed hard may have left the old prefix's server running.
    session_stop_wine
    rm -rf "$WINEPREFIX"

    local t0=$SECONDS
    session_start_xvfb "$logdir"
    session_start_pulse "$build/testenv-runtime" "$logdir"
    session_create_prefix "$logdir/wineboot.log"
    session_log "ready in $((SECONDS - t0))s: DISPLAY=$DISPLAY PULSE_SERVER=$PULSE_SERVER" \
        "WINEPREFIX=$WINEPREFIX"

    # The benchmark measures the X server's share of the CPU.
    export TESTENV_XVFB_PID=$SESSION_XVFB_PID
    # Explicit stdin: a background job of a script would otherwise read /dev/null.
    LC_ALL=$SESSION_WINE_LOCALE "$@" <&0 &
    COMMAND_PID=$!
    local rc=0
    wait "$COMMAND_PID" || rc=$?
    COMMAND_PID=""
    session_log "command exited with $rc"
    exit "$rc"
}

main "$@"
