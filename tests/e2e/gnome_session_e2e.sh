#!/usr/bin/env bash
# The real program in a headless GNOME Wayland session (GNOME's compositor mutter with XWayland,
# gnome_session.sh), where most users run it: ten starts in a row, the first right after the
# session came up, each show the two tabs on the bottom edge and no other window (the splash is
# withdrawn whatever mutter does with a window shown and hidden quickly); the always-on-top tabs
# stay above a maximised window, also when it is raised; then the mouse test (hover, leave, click,
# real drag and drop) and the keyboard test run in such a session too.
#
# Usage: gnome_session_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/gnome_session.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

E2E_CLEANUP='kill "${other_pid:-}" 2>/dev/null || true'
e2e_prepare "$program"
mkdir -p "$app/Tabs/A" "$app/Tabs/B"
printf 'A\r\nB\r\n' > "$app/Tabs/order.lst"
E2E_SESSION=gnome e2e_start_display 1280x800
bottom=800

# The visible windows of the program that are not one of its two closed tabs on the edge.
others_of() { e2e_windows_of "$1" | awk -v y=$((bottom - tab_height)) -v h="$tab_height" '!($2 == y && $4 == h)'; }
only_tabs_mapped() { e2e_tabs_placed "$1" 2 "$bottom" && [ -z "$(others_of "$1")" ]; }

# 1. Ten starts: the tabs come, and every other window of the program goes (the splash is hidden
#    right after the tabs are shown; what is still mapped a while later stays).
for run in $(seq 1 10); do
    e2e_start_program
    e2e_wait_for 60 e2e_tabs_placed "$pid" 2 "$bottom" ||
        e2e_fail "start $run: the two tabs are not on the bottom edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
    e2e_wait_for 30 only_tabs_mapped "$pid" ||
        e2e_fail "start $run: beside the tabs, these windows stay mapped: $(others_of "$pid" | tr '\n' ';')"
    kill "$pid"
    wait "$pid" || true
    E2E_APP_PID=""
done
echo "ten starts: the tabs and nothing else each time"

# 2. Always on top: a maximised window of another program stays below the tabs, also when raised.
e2e_start_program
e2e_wait_for 60 only_tabs_mapped "$pid" || e2e_fail "the tabs did not come: $(e2e_windows_of "$pid" | tr '\n' ';')"
xmessage -name other -title other "a maximised window" &
other_pid=$!
e2e_wait_for 30 e2e_window other || e2e_fail "the other window did not appear"
other=$(xdotool search --onlyvisible --name '^other$' | head -1)
e2e_maximise "$other"
# Maximised, its bottom on the screen's bottom edge, where the tabs are.
maximised() {
    local state info
    state=$(xprop -id "$other" _NET_WM_STATE)
    info=$(xwininfo -id "$other")
    grep -q _NET_WM_STATE_MAXIMIZED_VERT <<<"$state" && grep -q _NET_WM_STATE_MAXIMIZED_HORZ <<<"$state" &&
        [ $(($(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info") + $(awk '/Height:/ {print $2}' <<<"$info"))) = "$bottom" ]
}
e2e_wait_for 30 maximised || e2e_fail "the other window was not maximised: $(xprop -id "$other" _NET_WM_STATE) $(xwininfo -id "$other" | grep -E 'Absolute|Width|Height' | tr -s ' \n' ' ')"
# The window manager's stacking order, bottom to top, as decimal ids.
stacking() { xprop -root -notype _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | while read -r id; do echo $((id)); done; }
tabs_above_other() {
    local order position_other tab
    order=$(stacking)
    position_other=$(grep -nx "$other" <<<"$order" | cut -d: -f1)
    [ -n "$position_other" ] || return 1
    for tab in $(xdotool search --onlyvisible --pid "$pid"); do
        [ "$(grep -nx "$tab" <<<"$order" | cut -d: -f1)" -gt "$position_other" ] 2>/dev/null || return 1
    done
}
e2e_wait_for 30 tabs_above_other || e2e_fail "a tab is below the maximised window: $(stacking | tr '\n' ' ') (other $other)"
xdotool windowactivate "$other" 2>/dev/null || xdotool windowraise "$other"
active_is_other() { [ "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*')" = "$(printf '0x%x' "$other")" ]; }
e2e_wait_for 30 active_is_other || e2e_fail "the other window was not activated"
tabs_above_other || e2e_fail "the raised window covers a tab: $(stacking | tr '\n' ' ') (other $other)"
kill "$other_pid" "$pid"
wait "$pid" || true
E2E_APP_PID="" other_pid=""
echo "always on top: the tabs stay above a maximised window"
e2e_stop_display

# 3. The mouse and keyboard tests, each in a session of its own.
E2E_SESSION=gnome bash "$here/mouse_e2e.sh" "$program"
E2E_SESSION=gnome bash "$here/keyboard_e2e.sh" "$program"
echo "gnome session e2e: all passed"
