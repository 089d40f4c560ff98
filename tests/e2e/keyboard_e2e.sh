#!/usr/bin/env bash
# The keyboard on the real program under Xvfb, driven by xdotool's key presses: a tab opened by the
# pointer leaves the keyboard where it was; Ctrl+Alt+K opens the first tab with the keyboard focus
# and its first item highlighted, Down and Return launch the second item and close the tab, Escape
# closes it without launching and gives the focus back, another window taking the focus closes it,
# Right goes to the next tab; a second program that finds the key taken says so in its error
# report. Run without a window manager, then under openbox.
#
# Usage: keyboard_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_copy_program "$program"

e2e_write_recorder
# Tab A holds First and Second, tab B holds Third (the older tab list is imported at the start).
printf '[A]\r\nFirst=%s#first\r\nSecond=%s#second\r\n[B]\r\nThird=%s#third\r\n' \
    "$work/record.sh" "$work/record.sh" "$work/record.sh" > "$app/Kelvara.ini"
mkdir -p "$app/Tabs"
printf 'A\r\nB\r\n' > "$app/Tabs/order.lst"

e2e_start_display 1024x768
trap 'e2e_stop_display; kill "${holder_pid:-}" "${second_pid:-}" "${wm_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
bottom=768
# With a window manager, the focus is asked of it rather than set on the server.
if [ -n "${E2E_WM:-}" ]; then
    "$E2E_WM" >/dev/null 2>&1 &
    wm_pid=$!
    wm_runs() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
    e2e_wait_for 30 wm_runs || e2e_fail "the window manager did not start"
fi

# The window the user types in before the tabs are used.
xmessage -name holder -title holder "the window the user types in" &
holder_pid=$!
e2e_wait_for 30 e2e_window holder || e2e_fail "the holder window did not appear"
holder=$(xdotool search --onlyvisible --name '^holder$' | head -1)
xdotool windowfocus --sync "$holder"

e2e_start_program
e2e_wait_for 30 e2e_tabs_placed "$pid" 2 "$bottom" || e2e_fail "the two closed tabs are not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
read -r ax _ aw _ <<<"$(e2e_windows_of "$pid" | sed -n 1p)"
read -r bx _ _ _ <<<"$(e2e_windows_of "$pid" | sed -n 2p)"
window_at() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | while read -r id; do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$X" != "$1" ] || echo "$id"
done | head -1; }
tab_a=$(window_at "$ax")
tab_b=$(window_at "$bx")
focus_is() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
a_open=$((head_height + 2 * item_height))
away() { xdotool mousemove 600 300; }

# 1. Hovering opens tab A; the keyboard stays with the holder.
xdotool mousemove $((ax + aw / 2)) $((bottom - tab_height / 2))
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$a_open" || e2e_fail "hovering did not open tab A"
focus_is "$holder" || e2e_fail "the tab opened by the pointer took the focus ($(xdotool getwindowfocus))"
away
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "tab A did not close"

# 2. Ctrl+Alt+K opens tab A with the keyboard focus, although the pointer is elsewhere, and its
#    first item highlighted: Down and Return launch the second, and the tab closes.
xdotool key ctrl+alt+k
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$a_open" || e2e_fail "Ctrl+Alt+K did not open tab A"
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "tab A did not get the focus ($(xdotool getwindowfocus))"
xdotool key Down Return
e2e_wait_for 30 test -f "$work/launched-second" || e2e_fail "Down, Return did not launch the second item"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "tab A did not close after the launch"

# 3. Escape closes the tab again opened by the key and gives the focus back to the holder.
xdotool windowfocus --sync "$holder"
xdotool key ctrl+alt+k
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "tab A did not get the focus again"
xdotool key Escape
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "Escape did not close tab A"
e2e_wait_for 30 focus_is "$holder" || e2e_fail "the focus did not go back to the holder ($(xdotool getwindowfocus))"

# 4. Another window taking the keyboard (a click elsewhere) closes the tab as the pointer's leaving
#    would.
xdotool key ctrl+alt+k
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "tab A did not get the focus a third time"
xdotool windowfocus --sync "$holder"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "tab A stayed open without the focus"

# 5. Right goes to tab B: A closes, B opens with the focus; Escape closes it.
xdotool key ctrl+alt+k
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "tab A did not get the focus for Right"
xdotool key Right
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" $((head_height + item_height)) || e2e_fail "Right did not open tab B"
e2e_wait_for 30 focus_is "$tab_b" || e2e_fail "tab B did not get the focus"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "tab A did not close on Right"
xdotool key Escape
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$tab_height" || e2e_fail "Escape did not close tab B"

# 6. A second program finds the key taken and says so in its error report; the first keeps it and
#    opens the tab last opened, B.
cp -r "$program" "$work/Second"
mkdir -p "$work/Second/Tabs/C"
"$work/Second/Kelvara" 2> "$work/second.log" &
second_pid=$!
error_shown() { xdotool search --onlyvisible --pid "$second_pid" --name '^Ooops!$' >/dev/null 2>&1; }
e2e_wait_for 30 error_shown || e2e_fail "the second program did not report the taken key"
kill "$second_pid"
xdotool windowfocus --sync "$holder"
xdotool key ctrl+alt+k
e2e_wait_for 30 focus_is "$tab_b" || e2e_fail "the first program lost its key or opened another tab"
xdotool key Escape
e2e_wait_for 30 focus_is "$holder" || e2e_fail "the focus did not go back after the second program"

# Only the second item was ever launched.
[ "$(ls "$work" | grep '^launched-' | tr '\n' ' ')" = "launched-second " ] ||
    e2e_fail "launched: $(ls "$work" | grep '^launched-' | tr '\n' ' ')"
if [ "${E2E_SESSION:-}" = gnome ]; then
    echo "keyboard e2e: all passed in the GNOME session"
elif [ -z "${E2E_WM:-}" ]; then
    echo "keyboard e2e: all passed without a window manager"
    # Again under a window manager, which decides the focus itself.
    e2e_stop_display
    E2E_WM=openbox bash "$0" "$1"
else
    echo "keyboard e2e: all passed under $E2E_WM"
fi
