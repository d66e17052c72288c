# shellcheck shell=bash
# Shared pieces of testenv.sh and run.sh: a private X display, a private PulseAudio
# daemon with a null sink, and ending exactly the processes this shell started.
# Source it from a bash script that runs with `set -euo pipefail`.

# Wine runs with this locale: it makes the ANSI code page 936 although the Linux locale is
# not installed. Only Wine gets it, as bash warns on every start when it is set.
SESSION_WINE_LOCALE=zh_CN.UTF-8

# PIDs of the daemons started here, so cleanup ends only these.
SESSION_XVFB_PID=""
SESSION_PULSE_PID=""

session_log() { echo "[$(basename "$0")] $*" >&2; }
session_die() {
    session_log "error: $*"
    exit 2
}

# True while the process exists and is not a zombie (a zombie's PID still answers kill -0).
session_alive() {
    local pid=$1 state
    [[ -n "$pid" && -r /proc/$pid/stat ]] || return 1
    state=$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) || return 1
    [[ -n "$state" && "$state" != Z ]]
}

# Polls a command until it succeeds; false after <seconds>.
session_poll() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

session_dead() { ! session_alive "$1"; }

# Sends TERM, waits up to <seconds> for the process to end, then KILLs it.
session_end_pid() {
    local pid=$1 seconds=${2:-10}
    [[ -n "$pid" ]] || return 0
    kill -TERM "$pid" 2>/dev/null || true
    if ! session_poll "$seconds" session_dead "$pid"; then
        session_log "pid $pid ignored TERM for ${seconds}s, killing it"
        kill -KILL "$pid" 2>/dev/null || true
        session_poll 5 session_dead "$pid" || true
    fi
    # Reap it if it is our child (it stays a zombie otherwise); harmless if it is not.
    wait "$pid" 2>/dev/null || true
}

# Starts Xvfb on a free display and exports DISPLAY. Xvfb picks the number itself and tells it
# through -displayfd, so environments started at the same moment never share a display.
# Usage: session_start_xvfb <logdir>
session_start_xvfb() {
    local logdir=$1 numberfile n=""
    command -v Xvfb >/dev/null || session_die "Xvfb not found (run scripts/setup.sh)"
    numberfile="$logdir/display-number"
    rm -f "$numberfile"
    # -noreset: without it the server resets whenever its last client disconnects,
    # which races with short-lived clients such as xdotool.
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset \
        >"$logdir/xvfb.log" 2>&1 5>"$numberfile" &
    SESSION_XVFB_PID=$!
    local deadline=$((SECONDS + 15))
    while ((SECONDS < deadline)) && session_alive "$SESSION_XVFB_PID"; do
        n=$(tr -dc '0-9' <"$numberfile" 2>/dev/null)
        if [[ -n "$n" ]] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            export DISPLAY=":$n"
            # A desktop session loads X resources; without any, every X client looks for
            # ~/.Xdefaults again each time it asks for one (several times a second in Wine).
            xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	96" \
                >/dev/null 2>&1 || true
            return 0
        fi
        sleep 0.1
    done
    session_end_pid "$SESSION_XVFB_PID" 5
    SESSION_XVFB_PID=""
    session_die "could not start Xvfb (see $logdir/xvfb.log)"
}

# Starts a private PulseAudio daemon whose default sink is the null sink "vsink", and
# exports XDG_RUNTIME_DIR, PULSE_SERVER and PULSE_COOKIE so that Wine and parec use it.
# Usage: session_start_pulse <runtime-dir> <logdir>
session_start_pulse() {
    local runtime=$1 logdir=$2
    rm -rf "$runtime"
    mkdir -p "$runtime/home"
    chmod 700 "$runtime"
    export XDG_RUNTIME_DIR=$runtime
    export PULSE_SERVER="unix:$runtime/pulse/native"
    # Clients would otherwise create ~/.config/pulse/cookie in the user's home.
    export PULSE_COOKIE="$runtime/cookie"
    local socket="$runtime/pulse/native"
    mkdir -p "$runtime/pulse"
    # Foreground mode keeps the daemon our child, so its PID is known and it gets reaped.
    # As root PulseAudio warns that it is not meant for root but runs fine per user;
    # --system is not wanted (it needs a pulse user and ignores our runtime dir).
    # HOME points into the private dir so no daemon.conf of the user is read or written.
    HOME="$runtime/home" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
        --use-pid-file=no --realtime=no --high-priority=no --disable-shm=yes \
        --load="module-null-sink sink_name=vsink sink_properties=device.description=vsink" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        >"$logdir/pulse.log" 2>&1 &
    SESSION_PULSE_PID=$!
    if ! session_poll 15 pactl info; then
        session_die "PulseAudio did not come up (see $logdir/pulse.log)"
    fi
    pactl set-default-sink vsink >/dev/null
    export VELTRANO_SINK=vsink
}

# Ends Xvfb and PulseAudio if this shell started them.
session_stop_daemons() {
    if [[ -n "$SESSION_PULSE_PID" ]]; then
        session_end_pid "$SESSION_PULSE_PID" 10
        SESSION_PULSE_PID=""
    fi
    if [[ -n "$SESSION_XVFB_PID" ]]; then
        session_end_pid "$SESSION_XVFB_PID" 10
        SESSION_XVFB_PID=""
    fi
}

# Ends every process of the prefix in $WINEPREFIX (only that prefix's wineserver answers).
session_stop_wine() {
    [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]] || return 0
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
}

# Writes the registry settings every prefix of ours needs, then ends the prefix's processes.
#  - Audio=pulse: Wine would silently fall back to ALSA or no sound if PulseAudio did not
#    answer at the moment it probed; a fixed driver makes missing sound an error instead.
#  - ShowCrashDialog=0: a crashing exe must exit, not wait on a dialog nobody will click.
#  - winemenubuilder disabled: it writes .desktop files and icons into the user's home.
session_configure_prefix() {
    local regfile
    regfile="$WINEPREFIX/veltrano-session.reg"
    cat >"$regfile" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"="pulse"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
EOF
    LC_ALL=$SESSION_WINE_LOCALE timeout 60 wine reg import "$(winepath -w "$regfile" 2>/dev/null)" >/dev/null 2>&1 ||
        session_die "could not write the prefix registry settings"
    rm -f "$regfile"
}

# Creates (or re-creates) a prefix at $WINEPREFIX and waits until Wine has settled.
# Usage: session_create_prefix <logfile>
session_create_prefix() {
    local logfile=$1
    # mscoree/mshtml disabled: otherwise wineboot offers to install Mono and Gecko in dialogs.
    if ! LC_ALL=$SESSION_WINE_LOCALE WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        timeout 300 wineboot -i \
        >"$logfile" 2>&1; then
        session_die "wineboot failed (see $logfile)"
    fi
    session_configure_prefix
    timeout 120 wineserver -w || session_die "wineserver did not settle after wineboot"
}
