#!/usr/bin/env bash
# The splash on a real X display, without and with a compositing manager: it is centred, kept
# out of task bars and pagers, its lime pixels show what lies behind it (neither lime nor black)
# and the clip's dots are drawn. $1 is the program folder; the show_splash tool lies beside it.
set -u
program=$1
tool=$program/../tools/show_splash
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
work=$(mktemp -d)
trap 'e2e_stop_display; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL ($mode): $*"; failures=$((failures + 1)); }

# The splash window (the one that is not the full-screen backdrop) and its geometry.
find_splash() {
    local id width
    splash=""
    for id in $(xdotool search --onlyvisible --class show_splash 2>/dev/null); do
        width=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
        [ "$width" != 640 ] && [ -n "$width" ] && splash=$id
    done
    [ -n "$splash" ]
}

# What a person sees of the splash, from a screenshot; sets problems to what is wrong, if anything.
# The clip keeps playing, so every frame must pass: once drawn, the checks hold from then on.
look_at_splash() {
    local info x y w h colours centre drawn
    problems=""
    info=$(xwininfo -id "$splash")
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    [ "$x" = $((320 - w / 2)) ] && [ "$y" = $((240 - h / 2)) ] || problems+="not centred: $x,$y ${w}x$h; "
    /usr/bin/import -window root "$work/$mode.png"
    colours=$(/usr/bin/convert "$work/$mode.png" -crop "${w}x$h+$x+$y" +repage -format %c histogram:info:-)
    grep -qi '#00FF00' <<<"$colours" && problems+="lime pixels are visible; "
    grep -qi '#000000' <<<"$colours" && problems+="black pixels where the window should be see-through; "
    centre=$(/usr/bin/convert "$work/$mode.png" -format '%[hex:p{320,240}]' info:)
    case $centre in C8783C* | F0DCB4*) ;; *) problems+="the middle of the ring is $centre, not the backdrop; " ;; esac
    drawn=$(grep -viE '#(C8783C|F0DCB4)' <<<"$colours" | grep -c .)
    [ "$drawn" -gt 0 ] || problems+="no dot is drawn; "
    [ -z "$problems" ]
}

for mode in plain composited; do
    E2E_COMPOSITOR=0
    [ $mode = composited ] && E2E_COMPOSITOR=1
    e2e_start_display 640x480
    "$tool" --backdrop "$program/Loading.avi" >/dev/null 2>&1 &
    E2E_APP_PID=$!

    if ! e2e_wait_for 30 find_splash; then
        fail "no splash window"
    else
        state=$(xprop -id "$splash" _NET_WM_STATE)
        grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$state" ||
            fail "shown in task bars: $state"
        # The first screenshots may come before the splash and the backdrop are drawn.
        e2e_wait_for 30 look_at_splash || { look_at_splash || fail "$problems"; }
    fi
    e2e_stop_display
done
[ $failures = 0 ] && echo "splash e2e: ok"
exit $((failures > 0))
