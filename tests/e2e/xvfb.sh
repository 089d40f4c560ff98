# Helpers for the real-window tests: sourced by tests/e2e/*_e2e.sh.
# Starts a private Xvfb display (and, with E2E_COMPOSITOR=1, xcompmgr) and stops it on exit.

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_start_display() {
    local size=${1:-1280x800}
    local n
    for n in $(seq 300 399); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
    done
    Xvfb :$n -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
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

e2e_stop_display() {
    [ -n "${E2E_APP_PID:-}" ] && kill "$E2E_APP_PID" 2>/dev/null
    [ -n "${E2E_COMP_PID:-}" ] && kill "$E2E_COMP_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
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
