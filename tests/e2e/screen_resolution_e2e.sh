#!/usr/bin/env bash
# The screen-resolution macro in the real program. Xvfb offers one fixed mode, so the program runs
# on Xephyr nested in Xvfb, which offers a list of modes as a real monitor does: a click on the
# item "macro:screenres#1024x768" switches the display to 1024 x 768, and the tab moves to the new
# bottom edge.
#
# Usage: screen_resolution_e2e.sh PROGRAM_FOLDER
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
program=${1:?usage: screen_resolution_e2e.sh PROGRAM_FOLDER}
work=$(mktemp -d)
trap 'e2e_stop_display; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
command -v Xephyr >/dev/null || e2e_fail "Xephyr is missing (Debian package xserver-xephyr)"

e2e_start_display 1600x1200
e2e_start_xserver Xephyr -resizeable -screen 1280x800 -nolisten tcp -noreset || e2e_fail "Xephyr did not start"
E2E_NESTED_PID=$E2E_SERVER_PID
export DISPLAY=$E2E_SERVER_DISPLAY

# One tab of Aqua (128 wide, 18 deep closed, 60 open with its one item) holding the macro item.
cp -r "$program" "$work/app"
rm -rf "$work/app/Tabs" "$work/app/Kelvara.cfg.ini"
printf '[Display]\r\nSmaller=macro:screenres#1024x768\r\n' >"$work/app/Kelvara.ini"
E2E_APP_LOG=$work/app.log
"$work/app/Kelvara" >"$E2E_APP_LOG" 2>&1 &
E2E_APP_PID=$!

tab_is() { # x y width height of the program's window 128 pixels wide
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$X $Y $WIDTH $HEIGHT" = "$1" ] && return 0
    done
    return 1
}
screen_is() { xdpyinfo | grep -q "dimensions: *$1 pixels"; }

# Centred on the bottom edge of 1280 x 800: x 640 - 64 = 576 less half the spacing, 570.
e2e_wait_for 30 tab_is "570 782 128 18" || e2e_fail "the tab is not on the bottom edge of 1280 x 800"
xdotool mousemove 634 790
e2e_wait_for 30 tab_is "570 740 128 60" || e2e_fail "hovering did not open the tab"
xdotool mousemove 634 781 click 1
e2e_wait_for 30 screen_is 1024x768 || e2e_fail "the display is still $(xdpyinfo | grep dimensions)"
# The tab closes after the launch and stands centred on the new bottom edge: 512 - 70 = 442.
e2e_wait_for 30 tab_is "442 750 128 18" || e2e_fail "the tab did not move to the new bottom edge"
[ -z "$(xdotool search --onlyvisible --name '^Ooops!$' 2>/dev/null)" ] || e2e_fail "an error was reported"
echo "screen_resolution_e2e: all checks passed"
