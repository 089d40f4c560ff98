#!/usr/bin/env bash
# The tab row belongs to the whole desktop under a real window manager (openbox, two
# workspaces): every tab window is on all workspaces, sticky and out of task bars and pagers, it
# is still viewable after a switch to the second workspace, after the window manager restarts and
# after a rebuild of the tab set, and appearing takes the focus from no window.
#
# Usage: workspaces_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"

work=$(mktemp -d)
cp -r "$program" "$work/Kelvara"
app=$work/Kelvara
mkdir -p "$app/Tabs/A" "$app/Tabs/B"
# The window manager and the programs keep their settings away from the user's.
export HOME=$work/home
mkdir -p "$HOME"

e2e_start_display 1024x768
trap 'e2e_stop_display; rm -rf "$work"' EXIT
openbox > "$work/openbox.log" 2>&1 &
wm_pid=$!
e2e_wait_for 10 sh -c 'xprop -root _NET_SUPPORTED | grep -q _NET_NUMBER_OF_DESKTOPS' ||
    e2e_fail "openbox did not start"
# A request made while openbox still sets itself up is lost: ask until it is done.
two_workspaces() {
    xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q "= 2$" && return 0
    xdotool set_num_desktops 2
    return 1
}
e2e_wait_for 10 two_workspaces || e2e_fail "openbox did not make two workspaces"

# A window the user works in, which has the focus.
xmessage -geometry +300+200 "working here" &
editor_pid=$!
e2e_wait_for 10 sh -c "xdotool search --onlyvisible --classname '^xmessage$' | grep -q ." ||
    e2e_fail "the working window did not appear"
editor=$(xdotool search --onlyvisible --classname '^xmessage$' | head -1)
xdotool windowactivate --sync "$editor"
e2e_wait_for 10 sh -c "[ \"\$(xdotool getactivewindow)\" = $editor ]" || e2e_fail "no active window"

E2E_APP_LOG=$work/program.log
"$app/Kelvara" 2> "$E2E_APP_LOG" &
E2E_APP_PID=$!
pid=$E2E_APP_PID

tab_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort; }
tab_count_is() { [ "$(tab_windows | wc -l)" = "$1" ]; }
# Succeeds when every window in $windows is viewable, on every workspace and kept out of task
# bars and pagers. (openbox keeps "sticky" as the workspace number and drops the state atom.)
all_on_every_workspace() {
    local id state
    for id in $windows; do
        xwininfo -id "$id" | grep -q "Map State: IsViewable" || return 1
        xprop -id "$id" _NET_WM_DESKTOP | grep -q "= 4294967295$" || return 1
        state=$(xprop -id "$id" _NET_WM_STATE)
        for atom in SKIP_TASKBAR SKIP_PAGER; do
            grep -q "_NET_WM_STATE_$atom" <<<"$state" || return 1
        done
    done
}
check() { # what
    all_on_every_workspace || e2e_fail "$1: a tab window is not on every workspace"
    if [ "${2:-}" = focus ]; then
        [ "$(xdotool getactivewindow)" = "$editor" ] || e2e_fail "$1: the working window lost the focus"
    fi
}

e2e_wait_for 15 tab_count_is 2 || e2e_fail "the two tab windows did not appear"
windows=$(tab_windows)
e2e_wait_for 10 all_on_every_workspace || true
check "at start" focus

# A third tab made from outside rebuilds the tab set: the new windows are alike.
mkdir "$app/Tabs/C"
e2e_wait_for 15 tab_count_is 3 || e2e_fail "the new tab did not appear"
windows=$(tab_windows)
e2e_wait_for 10 all_on_every_workspace || true
check "after a rebuild" focus

xdotool set_desktop 1
e2e_wait_for 10 sh -c 'xprop -root _NET_CURRENT_DESKTOP | grep -q "= 1$"' || e2e_fail "no switch to workspace 2"
check "on the second workspace"

# A new window manager takes over and reads the windows' state again.
openbox --replace >> "$work/openbox.log" 2>&1 &
new_wm=$!
e2e_wait_for 10 sh -c "! kill -0 $wm_pid 2>/dev/null" || e2e_fail "openbox was not replaced"
wm_pid=$new_wm
e2e_wait_for 10 sh -c 'xprop -root _NET_SUPPORTED | grep -q _NET_CURRENT_DESKTOP' ||
    e2e_fail "the new openbox did not start"
xdotool set_desktop 0
e2e_wait_for 10 sh -c 'xprop -root _NET_CURRENT_DESKTOP | grep -q "= 0$"' || e2e_fail "no switch back"
xdotool set_desktop 1
e2e_wait_for 10 sh -c 'xprop -root _NET_CURRENT_DESKTOP | grep -q "= 1$"' || e2e_fail "no switch after restart"
e2e_wait_for 10 all_on_every_workspace || true
check "after the window manager restarted"

kill "$editor_pid" "$wm_pid" 2>/dev/null || true
echo "PASS: tab windows stay on every workspace"
