# A headless GNOME Wayland session for the real-window tests: sourced after xvfb.sh.
# GNOME's compositor mutter runs headless on a virtual monitor with XWayland, in a session bus of
# its own and a private runtime folder; Kelvara and xdotool talk to XWayland as they would in a
# user's GNOME session. e2e_stop_gnome_session stops it (also safe when nothing was started).

# e2e_start_gnome_session [WxH]: starts the session on a monitor of that size (default 1280x800)
# and exports DISPLAY, XAUTHORITY, WAYLAND_DISPLAY, XDG_SESSION_TYPE and the session bus, once
# mutter manages the X display. Fails with a message when the session cannot start.
e2e_start_gnome_session() {
    local size=${1:-1280x800} number="" wm_check_ok
    command -v mutter >/dev/null && command -v Xwayland >/dev/null ||
        e2e_fail "mutter and Xwayland are needed for the GNOME session (packages mutter, xwayland)"
    # mutter starts XWayland only when the folder of X sockets may be written by everyone (as
    # every X server makes it); an X server started by hand with another umask leaves it 1755.
    if [ -d /tmp/.X11-unix ] && [ "$(stat -c %a /tmp/.X11-unix)" != 1777 ]; then
        chmod 1777 /tmp/.X11-unix 2>/dev/null ||
            e2e_fail "/tmp/.X11-unix is not writable by everyone (mode $(stat -c %a /tmp/.X11-unix)): XWayland cannot start"
    fi
    E2E_GNOME_DIR=$(mktemp -d)
    mkdir -m 700 "$E2E_GNOME_DIR/run"
    local name=kelvara-e2e-$$
    # In a process group of its own, so that mutter, XWayland and the bus all end together.
    XDG_RUNTIME_DIR=$E2E_GNOME_DIR/run setsid dbus-run-session -- sh -c \
        'echo "$DBUS_SESSION_BUS_ADDRESS" > "$0/bus"; exec mutter --wayland --headless --sm-disable \
         --virtual-monitor "$1" --wayland-display="$2"' "$E2E_GNOME_DIR" "$size" "$name" \
        >"$E2E_GNOME_DIR/mutter.log" 2>&1 &
    E2E_GNOME_PID=$!
    gnome_display_named() {
        number=$(sed -n 's/.*Using public X11 display :\([0-9]*\).*/\1/p' "$E2E_GNOME_DIR/mutter.log" | head -1)
        [ -n "$number" ]
    }
    e2e_wait_for 60 gnome_display_named || e2e_gnome_fail "mutter named no X display"
    export DISPLAY=:$number WAYLAND_DISPLAY=$name XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
    export XDG_RUNTIME_DIR=$E2E_GNOME_DIR/run
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(cat "$E2E_GNOME_DIR/bus")
    gnome_authority_written() { compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" >/dev/null; }
    e2e_wait_for 60 gnome_authority_written || e2e_gnome_fail "XWayland wrote no authority file"
    export XAUTHORITY
    XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -1)
    # mutter manages the X display once it has set the window manager check on the root.
    wm_check_ok() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
    e2e_wait_for 60 wm_check_ok || e2e_gnome_fail "mutter does not manage the X display $DISPLAY"
}

e2e_gnome_fail() {
    echo "--- mutter's output:" >&2
    grep -v 'Window manager warning' "$E2E_GNOME_DIR/mutter.log" | tail -n 20 >&2
    e2e_fail "$@"
}

e2e_stop_gnome_session() {
    if [ -n "${E2E_GNOME_PID:-}" ]; then
        kill -- -"$E2E_GNOME_PID" 2>/dev/null || true
        wait "$E2E_GNOME_PID" 2>/dev/null || true
    fi
    [ -n "${E2E_GNOME_DIR:-}" ] && rm -rf "$E2E_GNOME_DIR"
    E2E_GNOME_PID="" E2E_GNOME_DIR=""
    return 0
}

# e2e_maximise WINDOW: asks the window manager to maximise the window (a _NET_WM_STATE message to
# the root window, as a task bar sends it).
e2e_maximise() {
    python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
d = x.XOpenDisplay(None)
if not d:
    sys.exit(1)
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.send_event = 1
e.xclient.window = int(sys.argv[1])
e.xclient.message_type = x.XInternAtom(d, b"_NET_WM_STATE", 0)
e.xclient.format = 32
e.xclient.l[0] = 1  # add
e.xclient.l[1] = x.XInternAtom(d, b"_NET_WM_STATE_MAXIMIZED_VERT", 0)
e.xclient.l[2] = x.XInternAtom(d, b"_NET_WM_STATE_MAXIMIZED_HORZ", 0)
e.xclient.l[3] = 1  # from an application
# SubstructureRedirectMask | SubstructureNotifyMask
x.XSendEvent(d, x.XDefaultRootWindow(d), 0, (1 << 20) | (1 << 19), ctypes.byref(e))
x.XFlush(d)
PY
}
