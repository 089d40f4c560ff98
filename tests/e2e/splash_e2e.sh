#!/usr/bin/env bash
# The splash on a real X display, without and with a compositing manager: it is centred, kept
# out of task bars and pagers, its lime pixels show what lies behind it (neither lime nor black)
# and the clip's dots are drawn. $1 is the program folder; the show_splash tool lies beside it.
set -u
program=$1
tool=$program/../tools/show_splash
work=$(mktemp -d)
failures=0
fail() { echo "FAIL ($mode): $*"; failures=$((failures + 1)); }

for mode in plain composited; do
    for n in $(seq 300 360); do [ -e /tmp/.X11-unix/X$n ] || break; done
    Xvfb :$n -screen 0 640x480x24 -nolisten tcp -noreset >/dev/null 2>&1 & xvfb=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    export DISPLAY=:$n
    comp=""
    if [ $mode = composited ]; then xcompmgr >/dev/null 2>&1 & comp=$!; sleep 0.3; fi
    "$tool" --backdrop "$program/Loading.avi" >/dev/null 2>&1 & app=$!
    sleep 2

    splash=""
    for id in $(xdotool search --class show_splash 2>/dev/null); do
        width=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
        [ "$width" != 640 ] && [ -n "$width" ] && splash=$id
    done
    if [ -z "$splash" ]; then
        fail "no splash window"
    else
        info=$(xwininfo -id "$splash")
        x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
        y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
        w=$(awk '/Width:/ {print $2}' <<<"$info")
        h=$(awk '/Height:/ {print $2}' <<<"$info")
        [ "$x" = $((320 - w / 2)) ] && [ "$y" = $((240 - h / 2)) ] || fail "not centred: $x,$y ${w}x$h"
        state=$(xprop -id "$splash" _NET_WM_STATE)
        grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$state" ||
            fail "shown in task bars: $state"

        /usr/bin/import -window root "$work/$mode.png"
        colours=$(/usr/bin/convert "$work/$mode.png" -crop "${w}x$h+$x+$y" +repage -format %c histogram:info:-)
        grep -qi '#00FF00' <<<"$colours" && fail "lime pixels are visible"
        grep -qi '#000000' <<<"$colours" && fail "black pixels where the window should be see-through"
        centre=$(/usr/bin/convert "$work/$mode.png" -format '%[hex:p{320,240}]' info:)
        case $centre in C8783C* | F0DCB4*) ;; *) fail "the middle of the ring is $centre, not the backdrop" ;; esac
        drawn=$(grep -viE '#(C8783C|F0DCB4)' <<<"$colours" | grep -c .)
        [ "$drawn" -gt 0 ] || fail "no dot is drawn"
    fi

    kill "$app" 2>/dev/null
    [ -n "$comp" ] && kill "$comp" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
done
rm -rf "$work"
[ $failures = 0 ] && echo "splash e2e: ok"
exit $((failures > 0))
