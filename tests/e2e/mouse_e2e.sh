#!/usr/bin/env bash
# The mouse and the drops on the real program under Xvfb, driven by xdotool: a file dragged from a
# file-manager stand-in (tools/drag_source, another process, so a real XDND drag) onto a tab
# becomes an item, hovering opens the tab, a click launches the item and closes the tab, a right
# click shows the menu, a tab dragged past its neighbour changes the row and the tabs folder's
# order file, a shortcut dragged onto a tab is moved into it, and an item dragged out of one tab
# onto another moves there.
#
# Usage: mouse_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
drag_source=$program/../tools/drag_source
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_copy_program "$program"

# Two empty tabs, A before B.
mkdir -p "$app/Tabs/A" "$app/Tabs/B"
printf 'A\r\nB\r\n' > "$app/Tabs/order.lst"

# The default application for plain text is a script that records its arguments; the record is
# renamed into place, so it is whole once it exists.
cat > "$work/record.sh" <<SCRIPT
#!/bin/sh
echo "\$@" > "$work/launched.tmp"
mv "$work/launched.tmp" "$work/launched"
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
trap 'e2e_stop_display; rm -rf "$work"' EXIT
bottom=768
e2e_start_program
# Both closed tabs stand on the bottom edge once they are placed.
e2e_wait_for 30 e2e_tabs_placed "$pid" 2 "$bottom" || e2e_fail "the two closed tabs are not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
read -r ax ay aw ah <<<"$(e2e_windows_of "$pid" | sed -n 1p)"
read -r bx by bw bh <<<"$(e2e_windows_of "$pid" | sed -n 2p)"
y_head=$((bottom - tab_height / 2))
away() { xdotool mousemove 600 300; }
# The middle of the drag source's 160 x 160 window, where it was put or, under a window manager that
# places windows itself (GNOME's), wherever that put it; fails until it is shown.
drag_source_shown() {
    local id info
    id=$(xdotool search --onlyvisible --name '^drag source$' 2>/dev/null | head -1)
    [ -n "$id" ] || return 1
    info=$(xwininfo -id "$id")
    source_x=$(($(awk '/Absolute upper-left X:/ {print $4}' <<<"$info") + 80))
    source_y=$(($(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info") + 80))
}

# 1. A real drag from the stand-in onto tab A writes a shortcut for the document.
before=$(e2e_window_ids_of "$pid")
"$drag_source" 400 200 "$work/docs/my notes.txt" > "$work/drag.out" &
drag_pid=$!
e2e_wait_for 30 drag_source_shown || e2e_fail "the drag source did not appear"
drag_source_shown
e2e_drag "$source_x" "$source_y" $((ax + aw / 2)) "$y_head"
e2e_wait_for 30 test -f "$app/Tabs/A/my notes.lnk" || e2e_fail "no shortcut was written: $(ls "$app/Tabs/A")"
wait "$drag_pid" || true
[ "$(cat "$work/drag.out")" = link ] || e2e_fail "the drop reported '$(cat "$work/drag.out")', not link"
[ -f "$work/docs/my notes.txt" ] || e2e_fail "the dropped file is gone"

# 2. Hovering opens the tab to its head and its one item.
away
e2e_wait_for 30 e2e_rebuilt_with "$pid" "$before" 2 || e2e_fail "the tab set was not rebuilt"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "tab A did not close"
xdotool mousemove $((ax + aw / 2)) "$y_head"
open_height=$((head_height + item_height))
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$open_height" ||
    e2e_fail "tab A did not open to $open_height pixels: $(e2e_windows_of "$pid" | tr '\n' ';')"

# 3. A click on the item launches the document's application with it, and the tab closes.
xdotool mousemove $((ax + aw / 2)) $((bottom - open_height + head_height + item_height / 2))
xdotool click 1
e2e_wait_for 30 test -f "$work/launched" || e2e_fail "the item was not launched"
[ "$(cat "$work/launched")" = "$work/docs/my notes.txt" ] || e2e_fail "launched with '$(cat "$work/launched")'"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" ||
    e2e_fail "tab A did not close after the launch: $(e2e_windows_of "$pid" | tr "\n" ";")"

# 4. A right click on tab B shows the menu; Escape closes it. Hovering opens B (empty, so only
#    its head): the click waits until it stands still. The key reaches the menu only once the menu
#    holds the keyboard, so it is pressed until the menu has gone.
xdotool mousemove $((bx + bw / 2)) "$y_head"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$head_height" || e2e_fail "tab B did not open"
xdotool mousemove $((bx + bw / 2)) $((bottom - head_height / 2)) click 3
e2e_wait_for 30 e2e_window_count_is "$pid" 3 || e2e_fail "no menu after a right click"
escape_menu() { xdotool key Escape && e2e_wait_for 1 e2e_window_count_is "$pid" 2; }
e2e_wait_for 30 escape_menu || e2e_fail "the menu did not close"

# 5. Tab B (empty: open, it is only its head) dragged past A: the order file and the row change.
away
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$tab_height" || e2e_fail "tab B did not close"
xdotool mousemove $((bx + 30)) "$y_head"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$head_height" || e2e_fail "tab B did not open"
order() { tr -d '\r' < "$app/Tabs/order.lst" | tr '\n' ' '; }
order_is() { [ "$(order)" = "$1" ]; }
before=$(e2e_window_ids_of "$pid")
e2e_drag $((bx + 30)) $((bottom - head_height / 2)) $((ax + 10)) $((bottom - head_height / 2))
e2e_wait_for 30 order_is "B A " || e2e_fail "order file: $(order)"
away
e2e_wait_for 30 e2e_rebuilt_with "$pid" "$before" 2 || e2e_fail "the tab set was not rebuilt"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$tab_height" || e2e_fail "the row did not come back"
# Moving a tab changes only the order file, never the tab folders.
[ -d "$app/Tabs/B" ] && [ -f "$app/Tabs/A/my notes.lnk" ] || e2e_fail "a tab folder changed"

# 6. A shortcut dragged onto tab A (now the second tab) is moved into it by the tab.
mkdir -p "$work/desk"
before=$(e2e_window_ids_of "$pid")
mv "$app/Tabs/A/my notes.lnk" "$work/desk/"
# The tab set follows the change on disk by itself.
e2e_wait_for 30 e2e_rebuilt_with "$pid" "$before" 2 || e2e_fail "the tab set did not follow the disk"
"$drag_source" 400 200 "$work/desk/my notes.lnk" > "$work/drag.out" &
drag_pid=$!
e2e_wait_for 30 drag_source_shown || e2e_fail "the drag source did not appear"
drag_source_shown
e2e_drag "$source_x" "$source_y" $((bx + bw / 2)) "$y_head"
e2e_wait_for 30 test -f "$app/Tabs/A/my notes.lnk" || e2e_fail "the shortcut was not moved into tab A"
[ ! -e "$work/desk/my notes.lnk" ] || e2e_fail "the shortcut is still on the desk"
wait "$drag_pid" || true

# 7. The item dragged out of tab A onto tab B moves there; A reads its folder again.
away
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$tab_height" || e2e_fail "tab A did not close"
xdotool mousemove $((bx + bw / 2)) "$y_head"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$open_height" || e2e_fail "tab A did not open"
e2e_drag $((bx + bw / 2)) $((bottom - open_height + head_height + item_height / 2)) $((ax + aw / 2)) "$y_head"
e2e_wait_for 30 test -f "$app/Tabs/B/my notes.lnk" || e2e_fail "the item did not move to tab B"
[ ! -e "$app/Tabs/A/my notes.lnk" ] || e2e_fail "the item is still in tab A"
away
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$tab_height" || e2e_fail "tab A did not close"
xdotool mousemove $((bx + bw / 2)) "$y_head"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$bx" "$head_height" || e2e_fail "tab A still shows the item"
echo "mouse e2e: all passed"
