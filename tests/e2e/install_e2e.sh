#!/usr/bin/env bash
# The installed program: an install into a temporary prefix puts every file in its place, the
# program started from there shows the tabs of the user's folder in XDG_DATA_HOME, and nothing
# under the prefix is added or changed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
program=${1:?usage: install_e2e.sh PROGRAM_FOLDER}
build=$(dirname "$program")
work=$(mktemp -d)
trap 'e2e_stop_display; rm -rf "$work"' EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
prefix=$work/prefix
E2E_APP_LOG=$work/app.log

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    e2e_fail "cmake --install failed"
}
[ -x "$prefix/bin/kelvara" ] || e2e_fail "no executable bin/kelvara"
for file in share/kelvara/Aqua/skin.ini share/kelvara/Translation/English.txt share/kelvara/Loading.avi \
    share/applications/org.kelvara.Kelvara.desktop share/metainfo/org.kelvara.Kelvara.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.kelvara.Kelvara.svg share/man/man1/kelvara.1.gz \
    share/doc/kelvara/copyright; do
    [ -f "$prefix/$file" ] || e2e_fail "not installed: $file"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/org.kelvara.Kelvara.png" ] ||
        e2e_fail "no ${size}x${size} icon"
done

# Every file and folder under the prefix with its size and modification time.
prefix_state() { find "$prefix" -printf '%P %y %s %T@\n' | sort; }
before=$(prefix_state)

mkdir -p "$XDG_DATA_HOME/kelvara/Tabs/Apps" "$XDG_DATA_HOME/kelvara/Tabs/Games"
e2e_start_display 1280x800
"$prefix/bin/kelvara" >"$E2E_APP_LOG" 2>&1 &
E2E_APP_PID=$!

# Two Aqua tabs (128 wide, 18 deep, 12 apart) centred on the bottom edge: 640 - 2 * 140 / 2 = 500.
tab_positions() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$WIDTH" = 128 ] && echo "$X $Y $HEIGHT"
    done | sort -n | tr '\n' ';'
}
tabs_are() { [ "$(tab_positions)" = "$1" ]; }
e2e_wait_for 15 tabs_are '500 782 18;640 782 18;' ||
    e2e_fail "the two tabs of the user's folder did not appear: $(tab_positions)"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the installed program ended"
kill "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null

[ "$(prefix_state)" = "$before" ] || e2e_fail "the program changed the prefix: $(diff <(echo "$before") <(prefix_state))"
echo "PASS"
