# Helpers for the real-window tests: sourced by tests/e2e/*_e2e.sh.
# Starts a private Xvfb display (and, with E2E_COMPOSITOR=1, xcompmgr), or with E2E_SESSION=gnome
# a headless GNOME Wayland session (gnome_session.sh); e2e_stop_display stops what was started
# (each script calls it from its own exit trap).

# E2E_APP_LOG names the file that takes the program's error output; its end is shown on failure.
e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_APP_LOG:-}" ] && [ -s "$E2E_APP_LOG" ]; then
        echo "--- the program's error output (last lines):" >&2
        tail -n 30 "$E2E_APP_LOG" >&2
    fi
    exit 1
}

# e2e_start_xserver COMMAND [ARGS...]: starts an X server that picks the first free display number
# itself and writes it to a pipe once it accepts connections (-displayfd), so that tests starting
# at the same moment never take the same number. Sets E2E_SERVER_PID and E2E_SERVER_DISPLAY.
e2e_start_xserver() {
    local fifo_dir n=""
    fifo_dir=$(mktemp -d)
    mkfifo "$fifo_dir/display"
    "$@" -displayfd 3 3>"$fifo_dir/display" >/dev/null 2>&1 &
    E2E_SERVER_PID=$!
    # The pipe ends without a number when the server fails to start.
    read -r -t 60 n <"$fifo_dir/display" || true
    rm -rf "$fifo_dir"
    [ -n "$n" ] || return 1
    E2E_SERVER_DISPLAY=:$n
}

# e2e_start_display [WxH]: Xvfb at that size (default 1280x800), exported as DISPLAY; with
# E2E_SESSION=gnome, a GNOME session on a monitor of that size (its compositor composites).
e2e_start_display() {
    local size=${1:-1280x800}
    if [ "${E2E_SESSION:-}" = gnome ]; then
        # shellcheck source=/dev/null
        source "$(dirname "${BASH_SOURCE[0]}")/gnome_session.sh"
        e2e_start_gnome_session "$size"
        E2E_COMP_PID=""
        return
    fi
    # Without -noreset the server resets when its last client leaves and refuses connections
    # meanwhile: a program would then fail to start now and then.
    e2e_start_xserver Xvfb -screen 0 "${size}x24" -nolisten tcp -noreset || e2e_fail "Xvfb did not start"
    E2E_XVFB_PID=$E2E_SERVER_PID
    export DISPLAY=$E2E_SERVER_DISPLAY
    E2E_COMP_PID=""
    if [ "${E2E_COMPOSITOR:-0}" = 1 ]; then e2e_start_compositor; fi
}

# Starts xcompmgr and returns once it has taken the compositing selection that programs look at.
e2e_start_compositor() {
    xcompmgr >/dev/null 2>&1 &
    E2E_COMP_PID=$!
    e2e_wait_for 30 e2e_compositor_running || e2e_fail "the compositing manager did not start"
}

# Succeeds when the selection _NET_WM_CM_S0 of the display has an owner.
e2e_compositor_running() {
    python3 -c '
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
d = x.XOpenDisplay(None)
sys.exit(0 if d and x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_WM_CM_S0", 0)) else 1)'
}

# Stops whatever still runs; a process that has ended already (the program after a crash) must
# not keep the display from being stopped. Safe to call more than once.
e2e_stop_display() {
    local pid
    for pid in "${E2E_APP_PID:-}" "${E2E_COMP_PID:-}" "${E2E_NESTED_PID:-}" "${E2E_XVFB_PID:-}"; do
        if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    done
    if [ -n "${E2E_GNOME_PID:-}" ]; then e2e_stop_gnome_session; fi
    wait 2>/dev/null || true
    E2E_APP_PID="" E2E_COMP_PID="" E2E_NESTED_PID="" E2E_XVFB_PID=""
    return 0
}

# Waits until COMMAND succeeds, at most SECONDS. The limit only ends a wait that has failed, so
# callers give it room for a loaded machine.
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

# e2e_key_to_window NAME KEY: gives the keyboard focus to the visible window named NAME (exactly),
# waits until the server has moved it there, and presses KEY. Without a window manager nothing
# else focuses a new window for certain.
e2e_key_to_window() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] || return 1
    xdotool windowfocus --sync "$id" key "$2"
}
