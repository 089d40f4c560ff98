#!/usr/bin/env bash
# The real program under Xvfb: start-up builds the tab windows at their places, the first-tab
# question, the refusal switch, errors in event handlers reaching "Ooops!", Exit, and a start with
# the update check on but no network library. Before all, without any X server: a plain message
# instead of Qt's abort.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
program=${1:?usage: app_e2e.sh PROGRAM_FOLDER}
work=$(mktemp -d)
trap 'e2e_stop_display; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

fresh_folder() {
    rm -rf "$work/app"
    cp -r "$program" "$work/app"
    rm -rf "$work/app/Tabs" "$work/app/Kelvara.cfg.ini"
}

start_app() {
    "$work/app/Kelvara" "$@" >"$work/app.log" 2>&1 &
    E2E_APP_PID=$!
}

app_running() { kill -0 "$E2E_APP_PID" 2>/dev/null; }
app_ended() { ! app_running; }

# Visible top-level windows of the program, as "x y w h name".
app_windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        echo "$X $Y $WIDTH $HEIGHT $(xdotool getwindowname "$id")"
    done
}

# On failure, show what the program printed.
fail() {
    [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log" >&2
    e2e_fail "$@"
}

wait_for_window() { e2e_wait_for "${2:-30}" xdotool search --onlyvisible --name "^$1\$"; }

# 0. No X server (a Wayland session without XWayland): one plain sentence and exit code 1.
fresh_folder
out=$(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=wayland-kelvara-none "$work/app/Kelvara" 2>&1)
code=$?
[ "$code" = 1 ] || fail "without a display the program ended with $code"
grep -qx "Kelvara needs an X11 display; on Wayland, XWayland must be running." <<<"$out" ||
    fail "without a display the program said: $out"
grep -q "Reinstalling" <<<"$out" && fail "Qt's abort message came: $out"

e2e_start_display 1280x800

tab_positions() { app_windows | awk '$3 == 128 {print $1, $2, $4}' | sort -n | tr '\n' ';'; }
tabs_at() { [ "$(tab_positions)" = "$1" ]; }

# 1. Three tabs imported from the older tab list stand centred on the bottom edge: Aqua's tabs are
#    128 wide and 18 deep, 12 pixels apart: 640 - 3 * 140 / 2 = 430, then 570 and 710.
fresh_folder
printf '[Apps]\r\nShell=/bin/sh\r\n[Games]\r\n[Web]\r\nDocs=https://example.org\r\n' >"$work/app/Kelvara.ini"
printf 'Apps\r\nGames\r\nWeb\r\n' >"$work/app/order.tmp"
mkdir -p "$work/app/Tabs" && mv "$work/app/order.tmp" "$work/app/Tabs/order.lst"
start_app
e2e_wait_for 30 tabs_at "430 782 18;570 782 18;710 782 18;" || fail "tab windows at $(tab_positions)"
[ -f "$work/app/Kelvara.ini.bak" ] || fail "the older tab list was not renamed"
[ -f "$work/app/Tabs/Apps/Shell.lnk" ] || fail "the older tab list was not imported"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null

# 2. Without a tab the program asks for the first tab's name; Cancel ends it.
fresh_folder
start_app
wait_for_window "New Tab" || fail "no question for the first tab"
e2e_key_to_window "New Tab" Escape || fail "the question went away before it was answered"
e2e_wait_for 30 app_ended || fail "Cancel did not end the program"

# 3. The refusal switch shows its message and ends the program once the message is closed.
fresh_folder
mkdir -p "$work/app/Tabs/A"
start_app nont
wait_for_window "Kelvara 2.0" || fail "no refusal message"
e2e_key_to_window "Kelvara 2.0" Return || fail "the refusal went away before it was answered"
e2e_wait_for 30 app_ended || fail "the refusal did not end the program"
[ -z "$(ls "$work/app/Tabs/A")" ] || fail "the refusing program changed the tabs"

# 4. An error raised in an event handler lands in "Ooops!" and the program goes on: a click on a
#    resolution macro with a malformed size ("X" in capitals) raises the conversion error. One
#    tab of Aqua stands at 570..697, closed at y 782; with one 38-pixel item it opens to y 740.
fresh_folder
printf '[Macros]\r\nBad=macro:screenres#1024X768\r\n' >"$work/app/Kelvara.ini"
start_app
e2e_wait_for 30 tabs_at "570 782 18;" || fail "the tab window is at $(tab_positions)"
xdotool mousemove 634 790
tab_open() { app_windows | grep -q '^570 740 128 60 '; }
e2e_wait_for 30 tab_open || fail "hovering did not open the tab: $(app_windows | tr '\n' ';')"
xdotool mousemove 634 780 click 1
wait_for_window "Ooops!" || fail "the error did not reach the error report"
app_running || fail "the program ended after the error"
# The tab closes after a failed start as after any other.
e2e_wait_for 30 bash -c "$(declare -f app_windows); E2E_APP_PID=$E2E_APP_PID; app_windows | grep -q '^570 782 128 18 '" ||
    fail "the tab did not close after the error: $(app_windows | tr '\n' ';')"

# 5. A right click on the tab's head shows the menu; "E&xit" ends the program. The key goes to the
#    menu only once it holds the keyboard, so it is pressed until the program has ended.
xdotool mousemove 634 790 click 3
e2e_wait_for 30 bash -c "[ \$(xdotool search --onlyvisible --pid $E2E_APP_PID 2>/dev/null | wc -l) -ge 3 ]" ||
    fail "no menu on a right click"
exit_from_menu() { xdotool key x && e2e_wait_for 1 app_ended; }
e2e_wait_for 30 exit_from_menu || fail "Exit did not end the program"

# 6. With the update check on and a network library that cannot be loaded, the program starts as
#    usual: the check fails without a word.
fresh_folder
# The pointer is still where the menu was opened: away from the edge, so the tab stays closed.
xdotool mousemove 10 10
mkdir -p "$work/app/Tabs/A" "$work/nolib"
printf '[General]\r\nAutoUpdate=Yes\r\n' >"$work/app/Kelvara.cfg.ini"
echo "not a library" >"$work/nolib/libcurl.so.4"
LD_LIBRARY_PATH=$work/nolib KELVARA_UPDATE_URL=http://127.0.0.1:9 start_app
e2e_wait_for 30 tabs_at "570 782 18;" || fail "no tab without the network library: $(app_windows | tr '\n' ';')"
app_running || fail "the program ended without the network library"
[ -z "$(xdotool search --onlyvisible --name '^Kelvara 2.0$' 2>/dev/null)" ] || fail "a message was shown"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null

echo "app_e2e: all checks passed"
