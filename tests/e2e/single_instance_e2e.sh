#!/usr/bin/env bash
# One Kelvara per data folder, under Xvfb, first without a session bus and then on a private one
# (dbus-run-session): a second start hands its request over and ends with status 0 within 2 s,
# leaving one process and one row of tabs, and the tab opened last opens with the keyboard focus;
# --open TAB opens that tab of the running instance with the focus; --quit ends it with its
# settings file written; after kill -9 the next start runs at once. Before all, --help, --version
# and a wrong option without any display.
#
# Usage: single_instance_e2e.sh PROGRAM_FOLDER [--bus]
set -euo pipefail
program=$(cd "$1" && pwd)
mode=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

e2e_copy_program "$program"
trap 'e2e_stop_display; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
if [ "$mode" = --bus ]; then
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || e2e_fail "no session bus under dbus-run-session"
    label="on a session bus"
else
    unset DBUS_SESSION_BUS_ADDRESS
    label="without a session bus"
fi

# Tab A holds one item; tab B is empty.
e2e_write_recorder
printf '[A]\r\nFirst=%s#first\r\n[B]\r\n' "$work/record.sh" > "$app/Kelvara.ini"
mkdir -p "$app/Tabs"
printf 'A\r\nB\r\n' > "$app/Tabs/order.lst"
rm -f "$app/Kelvara.cfg.ini"

# Runs the program in the foreground as a later start would; sets code, took_ms and out (what it
# printed, both streams).
second_start() {
    local t0 t1
    t0=$(date +%s%N)
    set +e
    out=$("$app/Kelvara" "$@" 2>&1)
    code=$?
    set -e
    t1=$(date +%s%N)
    took_ms=$(((t1 - t0) / 1000000))
}

if [ "$mode" != --bus ]; then
    # Without a display: --help and --version print and end with 0; a wrong option gets one line
    # and 2.
    for option in --help --version; do
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$app/Kelvara" "$option" 2>&1) ||
            e2e_fail "$option ended with $? without a display: $out"
        case $option in
        --help) grep -q -- '--open \[TAB\]' <<<"$out" || e2e_fail "--help printed: $out" ;;
        --version) [ "$out" = "Kelvara 2.0" ] || e2e_fail "--version printed: $out" ;;
        esac
    done
    set +e
    out=$(env -u DISPLAY "$app/Kelvara" --frobnicate 2>&1)
    code=$?
    set -e
    [ "$code" = 2 ] || e2e_fail "a wrong option ended with $code: $out"
    [ "$(wc -l <<<"$out")" = 1 ] && grep -q frobnicate <<<"$out" || e2e_fail "a wrong option printed: $out"
    # --quit with no instance running starts none.
    second_start --quit
    [ "$code" = 0 ] || e2e_fail "--quit without an instance ended with $code: $out"
fi

e2e_start_display 1024x768
bottom=768
a_open=$((head_height + item_height))

# Visible tab-sized windows on the whole display, of any process, as "x y w h": one row of tabs
# is two of them.
all_tabs() {
    local id
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$Y" -ge $((bottom - a_open - 40)) ] && echo "$X $Y $WIDTH $HEIGHT"
    done | sort -n
}
focus_is() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
window_at() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$X" != "$1" ] || echo "$id"
    done | head -1
}
instance_ended() { ! kill -0 "$pid" 2>/dev/null; }

start_instance() {
    e2e_start_program
    e2e_wait_for 30 e2e_tabs_placed "$pid" 2 "$bottom" ||
        e2e_fail "the two tabs are not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
    read -r ax _ _ _ <<<"$(e2e_windows_of "$pid" | sed -n 1p)"
    read -r bx _ _ _ <<<"$(e2e_windows_of "$pid" | sed -n 2p)"
    tab_a=$(window_at "$ax")
    tab_b=$(window_at "$bx")
}

# Escape closes the tab at X that has the keyboard.
close_with_escape() {
    xdotool key Escape
    e2e_wait_for 30 e2e_tab_height_is "$pid" "$1" "$tab_height" || e2e_fail "Escape did not close the tab at $1"
}

t0=$(date +%s%N)
start_instance
echo "first start: tabs shown after $((($(date +%s%N) - t0) / 1000000)) ms ($label)"
if [ "$mode" = --bus ]; then
    on_bus() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.kelvara.Kelvara | grep -q true; }
    e2e_wait_for 30 on_bus || e2e_fail "org.kelvara.Kelvara is not on the session bus"
fi

# 1. A plain second start: status 0 within 2 s, no second process or row, and the tab opened last
#    (none yet: the first) opens with the keyboard focus.
second_start
[ "$code" = 0 ] || e2e_fail "the second start ended with $code ($label): $out"
[ "$took_ms" -lt 2000 ] || e2e_fail "the second start took $took_ms ms ($label)"
e2e_wait_for 30 e2e_tab_height_is "$pid" "$ax" "$a_open" || e2e_fail "the second start did not open tab A ($label)"
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "tab A did not get the keyboard focus ($label)"
[ "$(all_tabs | wc -l)" = 2 ] || e2e_fail "not one row of tabs: $(all_tabs | tr '\n' ';')"
[ "$(xdotool search --onlyvisible --name '' 2>/dev/null | while read -r id; do xdotool getwindowpid "$id" 2>/dev/null; done |
    sort -u | grep -vx "$pid" | wc -l)" = 0 ] || e2e_fail "another process shows windows ($label)"
close_with_escape "$ax"

# 2. --open B opens tab B of the running instance with the focus, and is remembered: a plain start
#    then opens B again.
second_start --open B
[ "$code" = 0 ] || e2e_fail "--open B ended with $code: $out"
e2e_wait_for 30 focus_is "$tab_b" || e2e_fail "--open B did not give tab B the keyboard focus ($(xdotool getwindowfocus))"
close_with_escape "$bx"
second_start
e2e_wait_for 30 focus_is "$tab_b" || e2e_fail "a plain start after --open B did not open B"
close_with_escape "$bx"

if [ "$mode" = --bus ]; then
    # The desktop's own way in: ActivateAction on the application's ID.
    gdbus call --session --dest org.kelvara.Kelvara --object-path /org/kelvara/Kelvara \
        --method org.freedesktop.Application.ActivateAction open "[<'A'>]" "{}" >/dev/null ||
        e2e_fail "ActivateAction open failed"
    e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "ActivateAction open A did not open tab A"
    close_with_escape "$ax"
fi

# 3. --quit ends the instance with status 0 and its settings file written.
second_start --quit
[ "$code" = 0 ] || e2e_fail "--quit ended with $code: $out"
e2e_wait_for 30 instance_ended || e2e_fail "--quit did not end the instance"
set +e
wait "$pid"
status=$?
set -e
[ "$status" = 0 ] || e2e_fail "the instance ended with $status after --quit"
grep -q '^ShortcutKey=Ctrl+Alt+K' "$app/Kelvara.cfg.ini" 2>/dev/null ||
    e2e_fail "the settings file was not saved: $(cat "$app/Kelvara.cfg.ini" 2>&1)"

# 4. kill -9 leaves its socket file behind; the next start runs at once and takes requests.
start_instance
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
ls "$XDG_RUNTIME_DIR"/kelvara-*.socket >/dev/null 2>&1 || e2e_fail "no socket file was left to test with"
killed=$pid
t0=$(date +%s%N)
start_instance
[ "$pid" != "$killed" ] || e2e_fail "no new instance"
echo "start after kill -9: tabs shown after $((($(date +%s%N) - t0) / 1000000)) ms ($label)"
second_start --open A
[ "$code" = 0 ] || e2e_fail "the instance started after kill -9 did not take --open A: $code $out"
e2e_wait_for 30 focus_is "$tab_a" || e2e_fail "the instance started after kill -9 did not open tab A"
close_with_escape "$ax"
second_start --quit
e2e_wait_for 30 instance_ended || e2e_fail "--quit did not end the instance started after kill -9"
wait "$pid" 2>/dev/null || true
E2E_APP_PID=""

# Nothing was launched on the way.
[ -z "$(ls "$work" | grep '^launched-')" ] || e2e_fail "something was launched"
echo "single_instance e2e: all passed $label"
if [ "$mode" != --bus ]; then
    trap - EXIT
    e2e_stop_display
    rm -rf "$work"
    unset XDG_RUNTIME_DIR XDG_DATA_HOME XDG_CONFIG_HOME
    exec dbus-run-session -- bash "$0" "$program" --bus
fi
