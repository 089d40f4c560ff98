#!/usr/bin/env bash
# The desktop's look followed while the program runs, under Xvfb without a desktop environment:
# the items take their icons from the icon theme named in GTK's settings file, and show those of
# another theme as soon as the file names it; a compositing manager that starts after the program
# switches the tabs to the composited path (translucent windows), and when it stops they go back
# to the plain one, with no see-through pixel turned black (at a fractional scale, where the
# window's shape and its pixels round differently).
#
# Usage: desktop_look_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_prepare "$program"
unset XDG_CURRENT_DESKTOP
# Two icon themes whose folder icon is all red and all blue.
for theme in Red:FF0000 Blue:0000FF; do
    name=${theme%%:*}Theme
    mkdir -p "$XDG_DATA_HOME/icons/$name/places"
    printf '[Icon Theme]\nName=%s\nDirectories=places\n\n[places]\nSize=32\nType=Scalable\nMinSize=8\nMaxSize=512\n' \
        "$name" > "$XDG_DATA_HOME/icons/$name/index.theme"
    /usr/bin/convert -size 32x32 "xc:#${theme#*:}" "$XDG_DATA_HOME/icons/$name/places/folder.png"
done
choose_theme() {
    mkdir -p "$XDG_CONFIG_HOME/gtk-3.0"
    printf '[Settings]\ngtk-icon-theme-name=%s\n' "$1" > "$XDG_CONFIG_HOME/gtk-3.0/settings.new"
    mv "$XDG_CONFIG_HOME/gtk-3.0/settings.new" "$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
}
mkdir -p "$work/docs"
# One tab with one item: a folder, which shows the theme's folder icon.
printf '[A]\r\nDocs=%s\r\n' "$work/docs" > "$app/Kelvara.ini"

e2e_start_display 1280x800
bottom=800

# The number of pixels of colour HEX in the screen's rectangle W H X Y.
pixels_of() {
    /usr/bin/import -window root "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -crop "${2}x${3}+${4}+${5}" +repage -format %c histogram:info:- |
        awk -v c="#$1" 'toupper($3) == c {sub(":", "", $1); n = $1} END {print n + 0}'
}

# 1. The icon theme of the GTK settings file, then another one chosen while the tab is open.
choose_theme RedTheme
e2e_start_program
e2e_wait_for 60 e2e_tabs_placed "$pid" 1 "$bottom" || e2e_fail "the tab is not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
read -r ax _ aw _ <<<"$(e2e_windows_of "$pid")"
xdotool mousemove $((ax + aw / 2)) $((bottom - tab_height / 2))
open_height=$((head_height + item_height))
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$open_height" || e2e_fail "the tab did not open"
shows() { [ "$(pixels_of "$1" "$aw" "$open_height" "$ax" $((bottom - open_height)))" -gt 100 ]; }
e2e_wait_for 30 shows FF0000 || e2e_fail "the item does not show the red theme's folder icon"
choose_theme BlueTheme
e2e_wait_for 30 shows 0000FF || e2e_fail "the item did not take the blue theme's icon while running"
[ "$(pixels_of FF0000 "$aw" "$open_height" "$ax" $((bottom - open_height)))" = 0 ] ||
    e2e_fail "red pixels of the old theme are left"
kill "$pid"
wait "$pid" || true
E2E_APP_PID=""
echo "icon theme: followed while running"

# 2. A compositing manager that comes and goes. Translucent tabs (Alpha on, half opaque) at a
#    scale of 1.5, over a red background.
printf '[Appearance]\r\nAlpha=On\r\nAlphaV=128\r\n' > "$app/Kelvara.cfg.ini"
xsetroot -solid '#FF0000'
e2e_start_program QT_SCALE_FACTOR=1.5
tab_id() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1; }
tab_depth_is() {
    local id
    id=$(tab_id)
    [ -n "$id" ] && [ "$(xwininfo -id "$id" | awk '/Depth:/ {print $2}')" = "$1" ]
}
only_one_window() { [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" = 1 ]; }
e2e_wait_for 60 only_one_window || e2e_fail "the tab did not come"
tab_depth_is 24 || e2e_fail "without a compositor the tab is not a plain window"
e2e_start_compositor
e2e_wait_for 30 tab_depth_is 32 || e2e_fail "the tab did not switch to the composited path when the compositor came"
e2e_wait_for 30 only_one_window || e2e_fail "windows other than the tab stay: $(e2e_windows_of "$pid" | tr '\n' ';')"
eval "$(xdotool getwindowgeometry --shell "$(tab_id)")"
# Half opaque over red: the tab's own blue shows mixed with red, and no pixel of it is unmixed.
mixed() { [ "$(pixels_of 1B4F8F "$WIDTH" "$HEIGHT" "$X" "$Y")" = 0 ] && [ "$(pixels_of FF0000 "$WIDTH" "$HEIGHT" "$X" "$Y")" -lt $((WIDTH * HEIGHT / 4)) ]; }
e2e_wait_for 30 mixed || e2e_fail "the tab does not show translucent"
kill "$E2E_COMP_PID"
wait "$E2E_COMP_PID" 2>/dev/null || true
E2E_COMP_PID=""
e2e_wait_for 30 tab_depth_is 24 || e2e_fail "the tab did not go back to the plain path when the compositor went"
e2e_wait_for 30 only_one_window || e2e_fail "windows other than the tab stay: $(e2e_windows_of "$pid" | tr '\n' ';')"
eval "$(xdotool getwindowgeometry --shell "$(tab_id)")"
# The tab and a margin around it: no black pixel where the background should show.
no_black() { [ "$(pixels_of 000000 $((WIDTH + 8)) $((HEIGHT + 8)) $((X - 4)) $((Y - 4)))" = 0 ]; }
e2e_wait_for 30 no_black || e2e_fail "black pixels where the tab is see-through: $(pixels_of 000000 $((WIDTH + 8)) $((HEIGHT + 8)) $((X - 4)) $((Y - 4)))"
echo "desktop look e2e: all passed"
