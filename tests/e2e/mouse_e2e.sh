#!/usr/bin/env bash
# The mouse and the drops on real windows under Xvfb, driven by xdotool: a file dragged from a
# file-manager stand-in onto a tab becomes an item, hovering opens the tab, a click launches the
# item and closes the tab, a right click shows the menu, and a tab dragged past its neighbour
# changes the row and the tabs folder's order file, and a shortcut dragged onto a tab is moved in.
# The program is a small stand-in for the launcher (tools/mouse_demo) that plays the controller's
# part; the drags are real XDND drags from another process (tools/drag_source).
#
# Usage: mouse_e2e.sh PROGRAM_FOLDER   (the tools beside it: ../tools/mouse_demo, drag_source)
set -euo pipefail
program=$(cd "$1" && pwd)
tools=$program/../tools
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

work=$(mktemp -d)
trap 'e2e_stop; rm -rf "$work"' EXIT

# Two empty tabs, A before B.
mkdir -p "$work/Tabs/A" "$work/Tabs/B"
printf 'A\r\nB\r\n' > "$work/Tabs/order.lst"

# The default application for plain text is a script that records its arguments.
cat > "$work/record.sh" <<SCRIPT
#!/bin/sh
echo "\$@" > "$work/launched"
SCRIPT
chmod +x "$work/record.sh"
mkdir -p "$work/xdg/config" "$work/xdg/data/applications"
printf '[Default Applications]\ntext/plain=record.desktop;\n' > "$work/xdg/config/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Record\nExec=%s %%f\n' "$work/record.sh" \
    > "$work/xdg/data/applications/record.desktop"
export XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data
mkdir -p "$work/docs"
echo "some words" > "$work/docs/my notes.txt"

e2e_start_display 1024x768
E2E_LOG=$work/program.log
"$tools/mouse_demo" "$work/Tabs" 2> "$E2E_LOG" &
E2E_APP_PID=$!
e2e_wait_for 10 e2e_window "Kelvara tab B" || e2e_fail "the tab windows did not appear"

read -r ax ay aw ah <<<"$(e2e_window "Kelvara tab A")"
read -r bx by bw bh <<<"$(e2e_window "Kelvara tab B")"
[ "$ah" = 16 ] && [ "$ay" = $((768 - 16)) ] || e2e_fail "closed tab A is at $ax $ay $aw $ah"
[ "$ax" -lt "$bx" ] || e2e_fail "tab A does not stand before tab B"

# 1. A real drag from the stand-in onto tab A writes a shortcut for the document.
"$tools/drag_source" 400 200 "$work/docs/my notes.txt" > "$work/drag.out" &
drag_pid=$!
e2e_wait_for 10 e2e_window "drag source" || e2e_fail "the drag source did not appear"
sleep 0.3
e2e_drag 480 280 $((ax + 64)) $((768 - 8))
wait "$drag_pid" || true
[ "$(cat "$work/drag.out")" = link ] || e2e_fail "the drop reported '$(cat "$work/drag.out")', not link"
e2e_wait_for 5 test -f "$work/Tabs/A/my notes.lnk" || e2e_fail "no shortcut was written: $(ls "$work/Tabs/A")"
[ -f "$work/docs/my notes.txt" ] || e2e_fail "the dropped file is gone"

# 2. Hovering opens the tab to its head and its one item.
xdotool mousemove 600 300
sleep 0.5
e2e_wait_for 10 e2e_window_height_is "Kelvara tab A" 16 || e2e_fail "tab A did not close"
xdotool mousemove $((ax + 64)) $((768 - 8))
e2e_wait_for 10 e2e_window_height_is "Kelvara tab A" $((17 + 40)) ||
    e2e_fail "tab A did not open to 57 pixels: $(e2e_window "Kelvara tab A")"

# 3. A click on the item launches the document's application with it, and the tab closes.
xdotool mousemove $((ax + 64)) $((768 - 57 + 17 + 20))
sleep 0.2
xdotool click 1
e2e_wait_for 10 test -s "$work/launched" || e2e_fail "the item was not launched"
[ "$(cat "$work/launched")" = "$work/docs/my notes.txt" ] ||
    e2e_fail "launched with '$(cat "$work/launched")'"
e2e_wait_for 10 e2e_window_height_is "Kelvara tab A" 16 || e2e_fail "tab A did not close after the launch"

# 4. A right click on tab B shows the menu; Escape closes it.
xdotool mousemove $((bx + 64)) $((768 - 8))
sleep 0.3
xdotool click 3
e2e_wait_for 5 e2e_window pmMain || e2e_fail "no menu after a right click"
xdotool key Escape
e2e_wait_for 5 e2e_no_window pmMain || e2e_fail "the menu did not close"

# 5. Tab B (empty: open, it is only its head) dragged past A: the order file and the row change.
xdotool mousemove 600 300
e2e_wait_for 10 e2e_window_height_is "Kelvara tab B" 16 || e2e_fail "tab B did not close"
xdotool mousemove $((bx + 30)) $((768 - 8))
e2e_wait_for 10 e2e_window_height_is "Kelvara tab B" 17 || e2e_fail "tab B did not open"
order() { tr -d '\r' < "$work/Tabs/order.lst" | tr '\n' ' '; }
order_is() { [ "$(order)" = "$1" ]; }
e2e_drag $((bx + 30)) $((768 - 8)) $((ax + 20)) $((768 - 8))
e2e_wait_for 10 order_is "B A " || e2e_fail "order file: $(order)"
e2e_wait_for 10 e2e_window "Kelvara tab A" || e2e_fail "tab A is gone after the rebuild"
sleep 0.5
read -r ax2 _ <<<"$(e2e_window "Kelvara tab A")"
read -r bx2 _ <<<"$(e2e_window "Kelvara tab B")"
[ "$bx2" -lt "$ax2" ] || e2e_fail "the row was not rebuilt in the new order: A at $ax2, B at $bx2"

# 6. A shortcut dragged onto tab B is moved into it by the tab.
xdotool mousemove 600 300
sleep 0.5
"$tools/drag_source" 400 200 "$work/Tabs/A/my notes.lnk" > "$work/drag.out" &
drag_pid=$!
e2e_wait_for 10 e2e_window "drag source" || e2e_fail "the drag source did not appear"
sleep 0.3
e2e_drag 480 280 $((bx2 + 64)) $((768 - 8))
e2e_wait_for 10 test -f "$work/Tabs/B/my notes.lnk" || e2e_fail "the shortcut was not moved into tab B"
[ ! -e "$work/Tabs/A/my notes.lnk" ] || e2e_fail "the shortcut is still in tab A"
wait "$drag_pid" || true
echo "mouse e2e: all passed"
