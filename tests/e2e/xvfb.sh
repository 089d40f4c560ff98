# Helpers for the real-window tests: sourced by tests/e2e/*_e2e.sh.
# Starts a private Xvfb display (and, with E2E_COMPOSITOR=1, xcompmgr) and stops it on exit.

# E2E_APP_LOG names the file that takes the program's error output; its end is shown on failure.
e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_APP_LOG:-}" ] && [ -s "$E2E_APP_LOG" ]; then
        echo "--- the program's error output (last lines):" >&2
        tail -n 30 "$E2E_APP_LOG" >&2
    fi
    exit 1
}

e2e_start_display() {
    local size=${1:-1280x800}
    local n
    for n in $(seq 300 399); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
    done
    # Without -noreset the server resets when its last client leaves (the readiness check below)
    # and refuses connections meanwhile: the program would then fail to start now and then.
    Xvfb :$n -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=:$n
    local i
    for i in $(seq 100); do
        [ -e /tmp/.X11-unix/X$n ] && xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
    E2E_COMP_PID=""
    if [ "${E2E_COMPOSITOR:-0}" = 1 ]; then
        xcompmgr >/dev/null 2>&1 &
        E2E_COMP_PID=$!
        sleep 0.3
    fi
    trap e2e_stop_display EXIT
}

# Stops whatever still runs; a process that has ended already (the program after a crash) must
# not keep the display from being stopped.
e2e_stop_display() {
    local pid
    for pid in "${E2E_APP_PID:-}" "${E2E_COMP_PID:-}" "${E2E_XVFB_PID:-}"; do
        if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    done
    wait 2>/dev/null || true
    return 0
}

# Waits until COMMAND succeeds, at most SECONDS (default 10).
e2e_wait_for() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    while [ $SECONDS -lt $end ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Prints "x y w h" of each visible window whose name matches PATTERN.
e2e_window_geometries() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        echo "$X $Y $WIDTH $HEIGHT"
    done
}
