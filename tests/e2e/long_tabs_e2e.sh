#!/usr/bin/env bash
# A tab longer than the screen and a drop of several files, on the real program under Xvfb driven
# by xdotool: a tab of 60 items on the bottom edge of a 1280 x 800 screen opens within the screen
# with its head showing; the wheel brings its last item into view and a click launches it; a file
# dragged from another program (tools/drag_source, a real XDND drag) and held over the far end
# scrolls the tab and drops after its last item, where the marker is; three files dropped in one
# drag become three items in the order given.
#
# Usage: long_tabs_e2e.sh PROGRAM_FOLDER
# With E2E_SHOT=FILE.png set, a screenshot of the scrolled tab is saved there (needs ImageMagick).
set -euo pipefail
program=$(cd "$1" && pwd)
drag_source=$program/../tools/drag_source
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_prepare "$program"
e2e_write_recorder

# Tab "Long" of 60 items, each starting the recorder with its number, from the older tab list
# that the program imports; tab "Drop", empty.
{
    printf '[Long]\r\n'
    for i in $(seq -w 1 59); do printf 'Item %s=%s#%s\r\n' "$i" "$work/record.sh" "$i"; done
    printf 'Item 60 has a name far too long to be shown whole=%s#60\r\n' "$work/record.sh"
    printf '[Drop]\r\n'
} > "$app/Kelvara.ini"
mkdir -p "$app/Tabs/Drop" "$work/docs"
for name in one two three dropped; do echo "$name" > "$work/docs/$name.txt"; done

screen_width=1280
bottom=800
e2e_start_display ${screen_width}x$bottom
e2e_start_program
e2e_wait_for 60 e2e_tabs_placed "$pid" 2 "$bottom" || e2e_fail "the two closed tabs are not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
# The tabs stand in the order of their names: Drop, then Long.
read -r dx _ dw _ <<<"$(e2e_windows_of "$pid" | sed -n 1p)"
read -r lx _ lw _ <<<"$(e2e_windows_of "$pid" | sed -n 2p)"
y_head=$((bottom - tab_height / 2))
away() { xdotool mousemove 600 200; }

# 1. Open, the long tab shows as many rows as fit below its head and stays on the screen.
rows=$(((bottom - head_height) / item_height))
[ "$rows" -lt 60 ] || e2e_fail "the skin's items are too small for this test"
open_height=$((head_height + rows * item_height))
xdotool mousemove $((lx + lw / 2)) "$y_head"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$lx" "$open_height" ||
    e2e_fail "the long tab did not open to $open_height pixels: $(e2e_windows_of "$pid" | tr '\n' ';')"
read -r _ ly _ _ <<<"$(e2e_windows_of "$pid" | awk -v x="$lx" '$1 == x')"
[ "$ly" -ge 0 ] && [ $((ly + open_height)) -eq "$bottom" ] || e2e_fail "the open tab stands at y = $ly, off the screen"

# 2. The wheel scrolls by one item a notch: 40 notches (and a few more, which change nothing)
#    bring the last item to the far end, under the pointer. Its name is too long for its row, so
#    its whole name shows as a tooltip (a window of its own) once it is there.
tooltip_shown() { e2e_window_count_is "$pid" 3; }
last_row_y=$((bottom - item_height / 2))
xdotool mousemove $((lx + lw / 2)) "$last_row_y"
xdotool click --repeat 45 --delay 20 5
e2e_wait_for 30 tooltip_shown || e2e_fail "the wheel did not bring the last item under the pointer"
if [ -n "${E2E_SHOT:-}" ]; then import -window root "$E2E_SHOT"; fi

# 3. A click on the last row launches the last item, and the tab closes.
xdotool click 1
e2e_wait_for 30 test -f "$work/launched-60" || e2e_fail "the last item was not launched: $(ls "$work")"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$lx" "$tab_height" || e2e_fail "the tab did not close after the launch"

# 4. A file dragged onto the long tab and held over its far end scrolls it to its last items,
#    and drops after the last one: the tab reopens at its first items, and the last item's
#    tooltip shows again only once the held drag has scrolled all the way.
away
"$drag_source" 400 200 "$work/docs/dropped.txt" > "$work/drag.out" &
drag_pid=$!
drag_source_shown() { [ "$(e2e_window "drag source")" = "400 200 160 160" ]; }
e2e_wait_for 30 drag_source_shown || e2e_fail "the drag source did not appear"
xdotool mousemove 480 280
xdotool mousedown 1
for i in $(seq 1 12); do
    xdotool mousemove $((480 + (lx + lw / 2 - 480) * i / 12)) $((280 + (y_head - 280) * i / 12))
    sleep 0.05
done
e2e_wait_for 30 e2e_tab_height_is "$pid" "$lx" "$open_height" || e2e_fail "the tab did not open under the drag"
xdotool mousemove $((lx + lw / 2)) $((bottom - 3))
sleep 0.1
xdotool mousemove $((lx + lw / 2 + 1)) $((bottom - 3))
e2e_wait_for 60 tooltip_shown || e2e_fail "the held drag did not scroll the tab to its last item"
xdotool mouseup 1
wait "$drag_pid" || true
order_of() { tr -d '\r' < "$1/order.lst" | tr '\n' ' '; }
last_line_is() { [ "$(tr -d '\r' < "$app/Tabs/Long/order.lst" | tail -n 1)" = "$1" ]; }
e2e_wait_for 30 last_line_is "dropped.lnk" ||
    e2e_fail "the dropped file did not come after the last item: $(order_of "$app/Tabs/Long")"
[ "$(tr -d '\r' < "$app/Tabs/Long/order.lst" | grep -c '\.lnk$')" = 61 ] ||
    e2e_fail "the long tab's order: $(order_of "$app/Tabs/Long")"

# 5. Three files dropped on the empty tab in one drag: three items in the order given, which is
#    not the order of their names.
away
e2e_wait_for 30 e2e_tab_height_is "$pid" "$lx" "$tab_height" || e2e_fail "the long tab did not close"
"$drag_source" 400 200 "$work/docs/one.txt" "$work/docs/two.txt" "$work/docs/three.txt" > "$work/drag.out" &
drag_pid=$!
e2e_wait_for 30 drag_source_shown || e2e_fail "the drag source did not appear"
e2e_drag 480 280 $((dx + dw / 2)) "$y_head"
three_in_order() { [ "$(order_of "$app/Tabs/Drop")" = "one.lnk two.lnk three.lnk " ]; }
e2e_wait_for 30 three_in_order || e2e_fail "the three files' order: $(order_of "$app/Tabs/Drop" 2>&1)"
wait "$drag_pid" || true
for name in one two three; do
    [ -f "$app/Tabs/Drop/$name.lnk" ] || e2e_fail "no shortcut for $name.txt"
    [ -f "$work/docs/$name.txt" ] || e2e_fail "$name.txt is gone"
done
echo "long tabs e2e: all passed"
