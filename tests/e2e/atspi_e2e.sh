#!/usr/bin/env bash
# Two applications added from the menu with the keyboard alone, then what a screen reader sees of
# them, over AT-SPI (the desktop's accessibility bus) on a session bus of its own. "Add
# Applications..." lists the installed applications; typing finds the two, Space ticks the second
# and then the first, Return adds them in that order. The tabs are lists named after them; the open
# tab lists its items with their captions and descriptions; the keyboard's highlight is the focused
# item; pressing an item through AT-SPI launches it.
#
# Usage: atspi_e2e.sh PROGRAM_FOLDER
set -euo pipefail
# A session bus of the test's own, on which the accessibility bus is started when the program asks.
if [ -z "${KELVARA_E2E_SESSION_BUS:-}" ]; then
    # The bus daemons' notes on starting and activating services are left out of the output.
    exec dbus-run-session -- env KELVARA_E2E_SESSION_BUS=1 bash "$0" "$@" \
        2> >(grep -v -e 'fd limit' -e 'ctivat' -e 'SpiRegistry' >&2)
fi
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_copy_program "$program"
e2e_write_recorder
# Two installed applications of the user's, found by their generic name.
export XDG_DATA_HOME=$work/share
mkdir -p "$XDG_DATA_HOME/applications"
for name in Letters Sheets; do
    lower=$(echo "$name" | tr 'A-Z' 'a-z')
    printf '[Desktop Entry]\nType=Application\nName=%s\nGenericName=Kelvara Test Recorder\nExec=%s %s\n' \
        "$name" "$work/record.sh" "$lower" > "$XDG_DATA_HOME/applications/record-$lower.desktop"
done
mkdir -p "$app/Tabs/Office" "$app/Tabs/Web"
printf 'Office\r\nWeb\r\n' > "$app/Tabs/order.lst"

e2e_start_display 1024x768
trap 'e2e_stop_display; rm -rf "$work"' EXIT
bottom=768
e2e_start_program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_wait_for 30 e2e_tabs_placed "$pid" 2 "$bottom" || e2e_fail "the tabs are not on the edge"
read -r ox _ _ _ <<<"$(e2e_windows_of "$pid" | sed -n 1p)"

# Prints the program's tab lists as a screen reader finds them: a line per list, then a line per
# item of an open list, with its description, "focused" for the focused one and its actions.
# With "press NAME" it carries out the press action of that item instead.
# The system's Python, which has Debian's python3-pyatspi (another python3 first on PATH may not).
atspi() {
    timeout 60 /usr/bin/python3 - "$pid" "$@" <<'PYTHON'
import sys
import pyatspi

pid = int(sys.argv[1])
program = next(a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid)
for window in program:
    if window is None or window.getRoleName() != "list":
        continue
    if len(sys.argv) == 2:
        print(f"list {window.name}")
    for item in window:
        state = item.getState()
        if not state.contains(pyatspi.STATE_SHOWING):
            continue
        action = item.queryAction()
        if len(sys.argv) == 2:
            focused = " focused" if state.contains(pyatspi.STATE_FOCUSED) else ""
            actions = ",".join(action.getName(i) for i in range(action.nActions))
            print(f"  {item.getRoleName()} {item.name}: {item.description}{focused} [{actions}]")
        elif sys.argv[2] == "press" and item.name == sys.argv[3]:
            action.doAction(0)
PYTHON
}
seen_is() { [ "$(atspi)" = "$1" ]; }

# The closed tabs show no item.
e2e_wait_for 30 seen_is "$(printf 'list Office\nlist Web')" || e2e_fail "closed tabs: $(atspi)"

# Add Applications from the menu of the first tab: the menu takes the key once it holds the
# keyboard, so the key is pressed until the dialog is there.
xdotool mousemove $((ox + 20)) $((bottom - tab_height / 2))
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ox" "$head_height" || e2e_fail "the empty tab did not open"
xdotool click 3
dialog_shown() { e2e_window "Add Applications"; }
menu_command() { xdotool key a && e2e_wait_for 1 dialog_shown; }
e2e_wait_for 30 menu_command || e2e_fail "no Add Applications dialog"
dialog=$(xdotool search --onlyvisible --name '^Add Applications$' | head -1)
xdotool windowfocus --sync "$dialog" key ctrl+a type "test recorder"
# The first match is under the cursor; Down goes into the list, to the second.
xdotool key Down space Up space Return
e2e_wait_for 30 test -f "$app/Tabs/Office/Letters.lnk" || e2e_fail "the applications were not added"
order_is() { [ "$(tr -d '\r' < "$app/Tabs/Office/order.lst" | tr '\n' ' ')" = "Sheets.lnk Letters.lnk " ]; }
e2e_wait_for 30 order_is || e2e_fail "order: $(tr '\r\n' '  ' < "$app/Tabs/Office/order.lst")"
xdotool mousemove 600 300
e2e_wait_for 30 e2e_tabs_placed "$pid" 2 "$bottom" || e2e_fail "the tabs were not built again"

# Opened by the shortcut key, the tab lists its items, the first one focused.
xdotool key ctrl+alt+k
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ox" $((head_height + 2 * item_height)) || e2e_fail "the tab did not open"
expected=$(printf '%s\n' "list Office" \
    "  list item Sheets: Launches record-sheets.desktop. focused [Press]" \
    "  list item Letters: Launches record-letters.desktop. [Press]" "list Web")
e2e_wait_for 30 seen_is "$expected" || e2e_fail "open tab: $(atspi)"

# Down moves the focus to the second item.
xdotool key Down
expected=$(printf '%s\n' "list Office" \
    "  list item Sheets: Launches record-sheets.desktop. [Press]" \
    "  list item Letters: Launches record-letters.desktop. focused [Press]" "list Web")
e2e_wait_for 30 seen_is "$expected" || e2e_fail "after Down: $(atspi)"

# Pressing an item through AT-SPI launches it.
atspi press Letters
e2e_wait_for 30 test -f "$work/launched-letters" || e2e_fail "the press action did not launch the item"
echo "atspi e2e: all passed"
