#!/usr/bin/env bash
# Applications and files dropped on a tab under Xvfb, as a new user adds them: a real XDND drag of
# a ".desktop" file, a folder, a script and a picture from a file-manager stand-in. Checks the
# shortcuts' names (the application's Name=, not its file name), that every item shows an icon in
# a screenshot of the open tab, and that a click starts the application through GIO with exactly
# the arguments the freedesktop.org desktop entry standard gives for its Exec line (quoting, escapes and the
# field codes %F %i %c %k %%), in the home folder, with a startup notification id.
#
# Usage: desktop_entries_e2e.sh PROGRAM_FOLDER [SHOT_FOLDER]
set -euo pipefail
program=$(cd "$1" && pwd)
shots=${2:-$program/../e2e-shots}
drag_source=$program/../tools/drag_source
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"
mkdir -p "$shots"

e2e_copy_program "$program"
mkdir -p "$app/Tabs/Apps"
export HOME=$work/home XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

# The application records its working folder, its arguments and its startup notification id.
record=$work/record
cat > "$work/recorder" <<SCRIPT
#!/bin/sh
{ pwd; printf '%s\n' "\$@"; echo "id=\$DESKTOP_STARTUP_ID"; } > "$record.tmp"
mv "$record.tmp" "$record"
SCRIPT
chmod +x "$work/recorder"
mkdir -p "$work/files/Photos"
entry=$work/files/org.example.RecordEverything.desktop
# In the file, "\\" is one backslash: the Exec value reads "say \"hi\"", "\$HOME", "\`date\`" and
# "back\\slash" inside double quotes.
cat > "$entry" <<ENTRY
[Desktop Entry]
Type=Application
Name=Record Everything
Icon=utilities-terminal
StartupNotify=true
Exec="$work/recorder" "two words" "say \\\\"hi\\\\"" "\\\\\$HOME" "\\\\\`date\\\\\`" "back\\\\\\\\slash" %F %i %c %k 100%%
ENTRY
printf '#!/bin/sh\necho hello\n' > "$work/files/hello.sh"
chmod +x "$work/files/hello.sh"
/usr/bin/convert -size 48x48 xc:'#c03020' "$work/files/sunset.png"

e2e_start_display 1024x768
trap 'e2e_stop_display; rm -rf "$work"' EXIT
bottom=768
e2e_start_program
e2e_wait_for 15 e2e_tabs_placed "$pid" 1 "$bottom" || e2e_fail "the tab is not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
read -r tx _ tw _ <<<"$(e2e_windows_of "$pid")"
y_head=$((bottom - tab_height / 2))
away() { xdotool mousemove 900 100; }

# A real drag of each onto the tab's head; each drop writes a shortcut and rebuilds the tab set.
drop() { # path shortcut-file
    local before
    before=$(e2e_window_ids_of "$pid")
    "$drag_source" 400 200 "$1" > "$work/drag.out" &
    local drag_pid=$!
    e2e_wait_for 10 e2e_window "drag source" || e2e_fail "the drag source did not appear"
    e2e_drag 480 280 $((tx + tw / 2)) "$y_head"
    e2e_wait_for 10 test -f "$app/Tabs/Apps/$2" || e2e_fail "no $2 after dropping $1: $(ls "$app/Tabs/Apps")"
    wait "$drag_pid" || true
    away
    e2e_wait_for 10 e2e_rebuilt_with "$pid" "$before" 1 || e2e_fail "the tab set was not rebuilt"
    e2e_wait_for 10 e2e_tab_height_is "$pid" "$tx" "$tab_height" ||
        e2e_fail "the tab did not close after dropping $1: $(e2e_windows_of "$pid" | tr '\n' ';') pointer $(xdotool getmouselocation)"
}
drop "$entry" "Record Everything.lnk"
drop "$work/files/Photos" "Photos.lnk"
drop "$work/files/hello.sh" "hello.lnk"
drop "$work/files/sunset.png" "sunset.lnk"

# Open the tab with the pointer on its head (no item highlighted) and take a screenshot.
count=4
open_height=$((head_height + count * item_height))
shown=$(e2e_window_ids_of "$pid")
xdotool mousemove $((tx + tw / 2)) "$y_head"
e2e_wait_for 10 e2e_tab_height_is "$pid" "$tx" "$open_height" ||
    e2e_fail "the tab did not open to $open_height pixels: $(e2e_windows_of "$pid" | tr '\n' ';'); windows $(echo $shown) before, now $(e2e_window_ids_of "$pid" | tr '\n' ' ')"
xdotool mousemove $((tx + tw / 2)) $((bottom - open_height + head_height / 2))
sleep 0.3
shot=$shots/desktop_entries.png
import -window root "$shot"
echo "screenshot: $shot"

# Every icon box differs from the bare item picture beneath it.
read -r ix iy iw ih <<<"$(e2e_skin_value IconPos | tr -d '()' | tr ',' ' ')"
top=$((bottom - open_height))
for i in $(seq 0 $((count - 1))); do
    y=$((top + head_height + i * item_height + iy))
    /usr/bin/convert "$shot" -crop "${iw}x${ih}+$((tx + ix))+$y" +repage "$work/icon$i.png"
    blank=0
    for picture in item1 item2; do
        /usr/bin/convert "$app/Aqua/$picture.bmp" -crop "${iw}x${ih}+$ix+$iy" +repage "$work/bare.png"
        differing=$(compare -fuzz 8% -metric AE "$work/icon$i.png" "$work/bare.png" null: 2>&1 || true)
        [ "${differing%%.*}" -gt 100 ] || blank=1
    done
    [ "$blank" = 0 ] || e2e_fail "item $i shows no icon (see $shot)"
done

# A click on the application's item starts it with the arguments of its Exec line.
row=$(grep -n "Record Everything" <(tr -d '\r' < "$app/Tabs/Apps/order.lst") | cut -d: -f1)
[ -n "$row" ] || e2e_fail "the order file does not list the item: $(cat "$app/Tabs/Apps/order.lst")"
xdotool mousemove $((tx + tw / 2)) $((top + head_height + (row - 1) * item_height + item_height / 2))
sleep 0.2
xdotool click 1
e2e_wait_for 10 test -f "$record" || e2e_fail "the application did not start"
expected="$HOME
two words
say \"hi\"
\$HOME
\`date\`
back\\slash
--icon
utilities-terminal
Record Everything
$entry
100%"
actual=$(grep -v '^id=' "$record")
[ "$actual" = "$expected" ] || e2e_fail "the application was started with:
$actual
--- expected:
$expected"
grep -q '^id=Kelvara.*_TIME[0-9]' "$record" ||
    e2e_fail "no startup notification id: $(grep '^id=' "$record")"
e2e_window "Ooops!" >/dev/null 2>&1 && e2e_fail "an error was reported"
echo "PASS: dropped applications are named and started as the desktop does"
