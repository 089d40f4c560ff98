#!/usr/bin/env python3
"""A window manager that is slow to map windows, as GNOME's mutter is with a new program's first
windows: it holds every map request, and maps the window after HOLD seconds, or as soon as the
program withdraws it (the synthetic UnmapNotify that a hide sends), whatever came meanwhile. A
program that hides a window before its map came back thus finds it mapped after the hide, which
is the race that left the splash on screen. Configure requests pass through. Prints "ready" once
it manages the display. Usage: slow_wm.py [HOLD]"""
import ctypes
import select
import sys
import time

x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XConnectionNumber.argtypes = [ctypes.c_void_p]
x.XPending.argtypes = [ctypes.c_void_p]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


class WindowChanges(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("sibling", ctypes.c_ulong), ("stack_mode", ctypes.c_int)]


x.XConfigureWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.POINTER(WindowChanges)]


class Head(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p)]


class MapRequest(ctypes.Structure):
    _fields_ = Head._fields_ + [("parent", ctypes.c_ulong), ("window", ctypes.c_ulong)]


class Unmap(ctypes.Structure):
    _fields_ = Head._fields_ + [("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                                ("from_configure", ctypes.c_int)]


class ConfigureRequest(ctypes.Structure):
    _fields_ = Head._fields_ + [("parent", ctypes.c_ulong), ("window", ctypes.c_ulong), ("x", ctypes.c_int),
                                ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                                ("border_width", ctypes.c_int), ("above", ctypes.c_ulong),
                                ("detail", ctypes.c_int), ("value_mask", ctypes.c_ulong)]


MAP_REQUEST, CONFIGURE_REQUEST, UNMAP_NOTIFY = 20, 23, 18
SUBSTRUCTURE_NOTIFY, SUBSTRUCTURE_REDIRECT = 1 << 19, 1 << 20

hold = float(sys.argv[1]) if len(sys.argv) > 1 else 2.0
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_REDIRECT | SUBSTRUCTURE_NOTIFY)
x.XSync(display, 0)
print("ready", flush=True)

held = {}  # window -> when it is mapped
event = (ctypes.c_long * 24)()
while True:
    while x.XPending(display):
        x.XNextEvent(display, event)
        kind = ctypes.cast(event, ctypes.POINTER(Head)).contents.type
        if kind == MAP_REQUEST:
            held[ctypes.cast(event, ctypes.POINTER(MapRequest)).contents.window] = time.monotonic() + hold
        elif kind == UNMAP_NOTIFY:
            unmap = ctypes.cast(event, ctypes.POINTER(Unmap)).contents
            # The program withdrew a window whose map is held: the map goes out now, after it.
            if unmap.send_event and unmap.window in held:
                held[unmap.window] = 0
        elif kind == CONFIGURE_REQUEST:
            request = ctypes.cast(event, ctypes.POINTER(ConfigureRequest)).contents
            changes = WindowChanges(request.x, request.y, request.width, request.height, request.border_width,
                                    request.above, request.detail)
            x.XConfigureWindow(display, request.window, request.value_mask & 0x7F, ctypes.byref(changes))
    now = time.monotonic()
    for window in [w for w, when in held.items() if when <= now]:
        x.XMapWindow(display, window)
        del held[window]
    x.XFlush(display)
    timeout = max(0.0, min(held.values()) - now) if held else None
    select.select([x.XConnectionNumber(display)], [], [], timeout)
