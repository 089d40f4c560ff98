#!/usr/bin/env bash
# The real program started on hostile program folders: order files and a settings file that are
# links to the user's files, FIFOs where files are read, values that overflowed the placement,
# a skin of thousands of small pictures, an order file naming one tab thousands of times, names
# that are not UTF-8, and more tabs than the screen holds. For each: the tabs appear (nothing
# hangs), the program keeps running (nothing aborts; a sanitizer build's reports fail the run),
# and no file outside the program folder changes (checked by hashes).
# $1 is the program folder; run it on the sanitizer build's folder (build-asan/Kelvara) too.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
program=${1:?usage: hostile_folders_e2e.sh PROGRAM_FOLDER}
work=$(mktemp -d)
trap 'e2e_stop_display; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# Sanitizer reports go to files, which fail the run; leaks are not looked for, as the program
# is ended from outside.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:log_path=$work/sanitizer
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$work/sanitizer
app=$work/app
home=$work/home
E2E_APP_LOG=$work/app.log
failures=0
screen_height=800

fresh_folder() {
    rm -rf "$app" "$home"
    cp -r "$program" "$app"
    rm -rf "$app/Tabs" "$app/Kelvara.cfg.ini"
    mkdir -p "$app/Tabs" "$home"
    printf 'the user'"'"'s own notes\r\nstale line\r\n' >"$home/notes.txt"
}

# Every file and link below the user's folder with its content or link target.
home_state() {
    (cd "$home" && find . \( -type f -o -type l -o -type p \) -printf '%p %l\n' | sort &&
        find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

# A run-length coded 1024 x 1024 picture of 1080 bytes that decodes to 4 MiB.
rle_picture() {
    printf 'BM\x38\x04\x00\x00\x00\x00\x00\x00\x36\x04\x00\x00'
    printf '\x28\x00\x00\x00\x00\x04\x00\x00\x00\x04\x00\x00\x01\x00\x08\x00\x01\x00\x00\x00\x02\x00\x00\x00'
    printf '\x00%.0s' $(seq 16)
    head -c 1024 /dev/zero
    printf '\x00\x01'
}

# Visible windows of the program standing on the bottom edge: closed tabs.
bottom_tabs() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ $((Y + HEIGHT)) = $screen_height ] && echo "$X $Y $WIDTH $HEIGHT"
    done
}

check() { # NAME: starts the program on the prepared folder and checks what every run must show
    local name=$1 before after
    before=$(home_state)
    rm -f "$work"/sanitizer*
    "$app/Kelvara" >"$E2E_APP_LOG" 2>&1 &
    E2E_APP_PID=$!
    if ! e2e_wait_for 90 bash -c "$(declare -f bottom_tabs); E2E_APP_PID=$E2E_APP_PID screen_height=$screen_height; [ -n \"\$(bottom_tabs)\" ]"; then
        echo "FAIL $name: no tab appeared (start-up hangs or ended)" >&2
        failures=$((failures + 1))
    fi
    sleep 1
    if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
        echo "FAIL $name: the program ended" >&2
        tail -n 20 "$E2E_APP_LOG" >&2
        failures=$((failures + 1))
    fi
    tabs=$(bottom_tabs)
    kill "$E2E_APP_PID" 2>/dev/null
    wait "$E2E_APP_PID" 2>/dev/null
    if ls "$work"/sanitizer* >/dev/null 2>&1; then
        echo "FAIL $name: sanitizer report" >&2
        head -n 40 "$work"/sanitizer* >&2
        failures=$((failures + 1))
    fi
    after=$(home_state)
    if [ "$before" != "$after" ]; then
        echo "FAIL $name: files outside the program folder changed" >&2
        diff <(echo "$before") <(echo "$after") >&2
        failures=$((failures + 1))
    fi
    echo "$name: $(echo "$tabs" | grep -c .) tab window(s) shown"
}

e2e_start_display 1280x$screen_height

# 1. Order files and the settings file are links to the user's files, one of them dangling.
fresh_folder
mkdir -p "$app/Tabs/A" "$app/Tabs/B"
ln -s "$home/notes.txt" "$app/Tabs/A/order.lst"
ln -s "$home/notes.txt" "$app/Tabs/order.lst"
ln -s "$home/missing.txt" "$app/Tabs/B/order.lst"
printf '[Position]\r\nTabAlign=Center\r\n' >"$home/settings.ini"
ln -s "$home/settings.ini" "$app/Kelvara.cfg.ini"
check links

# 2. FIFOs where files are read: an order file, the splash clip, and the icon of a desktop entry
#    that a shortcut (imported from the older tab list) points at.
fresh_folder
mkdir -p "$app/Tabs/A"
mkfifo "$app/Tabs/A/order.lst" "$home/icon.png"
rm -f "$app/Loading.avi" && mkfifo "$app/Loading.avi"
printf '[Desktop Entry]\nType=Application\nName=App\nExec=true\nIcon=%s\n' "$home/icon.png" >"$home/app.desktop"
printf '[A]\r\nApp=%s\r\n' "$home/app.desktop" >"$app/Kelvara.ini"
check fifos

# 3. A spacing of 2147483647 with one tab.
fresh_folder
mkdir -p "$app/Tabs/Only"
printf '[Position]\r\nTabAlign=TopLeft\r\nSpacing=2147483647\r\n' >"$app/Kelvara.cfg.ini"
check spacing

# 4. A skin whose sizes and title box are 2147483647, with two items.
fresh_folder
cp -r "$app/Aqua" "$app/Huge"
printf '[Skin]\r\nTabWidth=2147483647\r\nHeadHeight=2147483647\r\nItemHeight=2147483647\r\nTitlePos=(2147483647, 2147483647, 2147483647, 2147483647)\r\n' >"$app/Huge/skin.ini"
printf '[Appearance]\r\nSkin=Huge\r\n' >"$app/Kelvara.cfg.ini"
printf '[A]\r\nOne=/bin/true\r\nTwo=/bin/false\r\n' >"$app/Kelvara.ini"
check huge-skin

# 5. A skin of 3000 small pictures that decode to 4 MiB each, and an order file naming one tab
#    4096 times.
fresh_folder
mkdir -p "$app/Many" "$app/Tabs/A"
cp "$app/Aqua/skin.ini" "$app/Many/skin.ini"
rle_picture >"$app/Many/tab1.bmp"
for i in $(seq 2 3000); do ln "$app/Many/tab1.bmp" "$app/Many/tab$i.bmp"; done
printf '[Appearance]\r\nSkin=Many\r\n' >"$app/Kelvara.cfg.ini"
for i in $(seq 4096); do printf 'A\r\n'; done >"$app/Tabs/order.lst"
check many-pictures

# 6. An order of 5001 lines is kept whole.
fresh_folder
printf '[A]\r\nOne=/bin/true\r\nTwo=/bin/false\r\n' >"$app/Kelvara.ini"
mkdir -p "$app/Tabs/A"
for i in $(seq 2500); do printf 'Two.lnk\r\nOne.lnk\r\n'; done >"$app/Tabs/A/order.lst"
printf 'Two.lnk\r\n' >>"$app/Tabs/A/order.lst"
order=$(sha256sum <"$app/Tabs/A/order.lst")
check long-order
[ "$(sha256sum <"$app/Tabs/A/order.lst")" = "$order" ] || {
    echo "FAIL long-order: the order file was rewritten" >&2
    failures=$((failures + 1))
}

# 7. Names that are not UTF-8, a broken shortcut, and a folder named like a shortcut.
fresh_folder
printf '[A]\r\nOne=/bin/true\r\n' >"$app/Kelvara.ini"
mkdir -p "$app/Tabs/A" "$app/Tabs/Caf"$'\xe9' "$app/Tabs/A/holiday.lnk"
printf 'not a shortcut' >"$app/Tabs/A/broken.lnk"
check names

# 8. Two hundred tabs: only those that fit get windows, all of them on the screen.
fresh_folder
for i in $(seq -w 200); do mkdir "$app/Tabs/Tab $i"; done
check many-tabs
shown=$(echo "$tabs" | grep -c .)
[ "$shown" -ge 1 ] && [ "$shown" -lt 200 ] || {
    echo "FAIL many-tabs: $shown windows" >&2
    failures=$((failures + 1))
}
echo "$tabs" | awk '$1 < 0 || $1 + $3 > 1280 { bad = 1 } END { exit bad }' || {
    echo "FAIL many-tabs: a tab off the screen: $(echo "$tabs" | tr '\n' ';')" >&2
    failures=$((failures + 1))
}

# 9. An older tab list beside an earlier Kelvara.ini.bak, with a shortcut the user edited since the
#    last import, a link to the user's file where a shortcut would go, and a name too long for the
#    file system: the rest is imported, nothing is written over or through the link, the earlier
#    .bak stays, and the next start imports nothing (a shortcut deleted meanwhile stays deleted).
fresh_folder
mkdir -p "$app/Tabs/Tools"
printf 'an earlier list\r\n' >"$app/Kelvara.ini.bak"
long=$(printf 'x%.0s' $(seq 300))
printf '[Tools]\r\nEdit=/usr/bin/ed\r\nLinked=/bin/sh\r\n%s=/bin/true\r\nLast=/bin/false\r\n' "$long" >"$app/Kelvara.ini"
ln -s "$home/notes.txt" "$app/Tabs/Tools/Linked.lnk"
check older-list
bak=$(cat "$app/Kelvara.ini.bak")
{ [ -f "$app/Tabs/Tools/Edit.lnk" ] && [ -f "$app/Tabs/Tools/Last.lnk" ] && [ -L "$app/Tabs/Tools/Linked.lnk" ] &&
    [ ! -e "$app/Kelvara.ini" ] && [ -f "$app/Kelvara.ini.bak2" ] && [ "$bak" = $'an earlier list\r' ]; } || {
    echo "FAIL older-list: the import did not skip, keep and set aside as it should" >&2
    ls -la "$app" "$app/Tabs/Tools" >&2
    failures=$((failures + 1))
}
rm -f "$app/Tabs/Tools/Edit.lnk"
check older-list-again
[ ! -e "$app/Tabs/Tools/Edit.lnk" ] && [ ! -e "$app/Kelvara.ini.bak3" ] || {
    echo "FAIL older-list-again: the older list was imported a second time" >&2
    failures=$((failures + 1))
}

# Opens the first tab standing on the bottom edge with the pointer and waits until it has grown:
# a user-interface thread blocked on a FIFO would never open it.
opens_first_tab() { # NAME
    local first x y width height
    first=$(bottom_tabs | head -n 1)
    [ -n "$first" ] || return 1
    read -r x y width height <<<"$first"
    E2E_APP_PID=$E2E_APP_PID xdotool mousemove $((x + width / 2)) $((screen_height - 2))
    e2e_wait_for 60 bash -c "$(declare -f bottom_tabs); E2E_APP_PID=$E2E_APP_PID screen_height=$screen_height
        for id in \$(xdotool search --onlyvisible --pid $E2E_APP_PID 2>/dev/null); do
            eval \"\$(xdotool getwindowgeometry --shell \$id)\"
            [ \$HEIGHT -gt $height ] && exit 0
        done; exit 1"
    local opened=$?
    xdotool mousemove 0 0
    return $opened
}

# 10. FIFOs where the icon theme would find pictures: one in the user's own theme folder under the
#     theme name a desktop entry gives, and one outside every theme that another entry's Icon=
#     climbs to with "..". The tab with shortcuts to both opens (the user-interface thread is not
#     blocked), and nothing outside the program's folders changes.
fresh_folder
theme=$XDG_DATA_HOME/icons/hicolor
mkdir -p "$theme/32x32/apps" "$home/climb"
printf '[Icon Theme]\nName=Hicolor\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n' >"$theme/index.theme"
mkfifo "$theme/32x32/apps/kelvara-fifo-icon.png" "$home/climb/x.png"
printf '[Desktop Entry]\nType=Application\nName=Themed\nExec=true\nIcon=kelvara-fifo-icon\n' >"$home/themed.desktop"
printf '[Desktop Entry]\nType=Application\nName=Climb\nExec=true\nIcon=../../../../../../../../../../..%s\n' \
    "$home/climb/x" >"$home/climb.desktop"
printf '[A]\r\nThemed=%s\r\nClimb=%s\r\n' "$home/themed.desktop" "$home/climb.desktop" >"$app/Kelvara.ini"
before_icons=$(home_state)
"$app/Kelvara" >"$E2E_APP_LOG" 2>&1 &
E2E_APP_PID=$!
if e2e_wait_for 90 bash -c "$(declare -f bottom_tabs); E2E_APP_PID=$E2E_APP_PID screen_height=$screen_height; [ -n \"\$(bottom_tabs)\" ]"; then
    opens_first_tab || {
        echo "FAIL theme-fifos: the tab did not open (the user-interface thread is blocked)" >&2
        failures=$((failures + 1))
    }
else
    echo "FAIL theme-fifos: no tab appeared" >&2
    failures=$((failures + 1))
fi
kill -0 "$E2E_APP_PID" 2>/dev/null || {
    echo "FAIL theme-fifos: the program ended" >&2
    failures=$((failures + 1))
}
kill "$E2E_APP_PID" 2>/dev/null
wait "$E2E_APP_PID" 2>/dev/null
[ "$before_icons" = "$(home_state)" ] || {
    echo "FAIL theme-fifos: files outside the program folder changed" >&2
    failures=$((failures + 1))
}
rm -rf "$XDG_DATA_HOME/icons"
echo "theme-fifos: done"

# 11. No usable home folder in HOME (unset, relative, a file): the home folder comes from the
#     password database, the tabs appear, and nothing outside the program's folders changes.
for variant in unset relative file; do
    fresh_folder
    mkdir -p "$app/Tabs/A"
    saved_home=${HOME-}
    case $variant in
    unset) unset HOME ;;
    relative) export HOME=relative/home ;;
    file) export HOME=$home/notes.txt ;;
    esac
    pushd "$work" >/dev/null
    check "home-$variant"
    popd >/dev/null
    export HOME=$saved_home
done
[ ! -e "$work/relative" ] && [ ! -e "$work/.local" ] || {
    echo "FAIL home: folders were made relative to the working folder" >&2
    failures=$((failures + 1))
}

# 12. A tab of 100,000 shortcuts (copies of one): it opens without a hang or an abort, and the
#    program's peak memory stays under 300 MB (a tab holds its first thousand items and draws
#    only the rows on the screen).
huge_tab() {
    local skin_value item_height head_height open_height x y w h peak
    fresh_folder
    "$program/../tools/make_bench_folder" "$work/bench" 1 1 >/dev/null 2>&1 || {
        echo "FAIL huge-tab: no shortcut could be made" >&2
        failures=$((failures + 1))
        return
    }
    mkdir -p "$app/Tabs/Huge"
    python3 - "$work/bench/Tabs"/*/*.lnk "$app/Tabs/Huge" <<'PY'
import os, sys
data = open(sys.argv[1], "rb").read()
for i in range(100000):
    with open(os.path.join(sys.argv[2], "Item %06d.lnk" % i), "wb") as f:
        f.write(data)
PY
    skin_value() { grep -i "^$1=" "$app/Aqua/skin.ini" | head -1 | cut -d= -f2 | tr -d '\r '; }
    item_height=$(skin_value ItemHeight)
    head_height=$(skin_value HeadHeight)
    open_height=$((head_height + (screen_height - head_height) / item_height * item_height))
    rm -f "$work"/sanitizer*
    "$app/Kelvara" >"$E2E_APP_LOG" 2>&1 &
    E2E_APP_PID=$!
    if ! e2e_wait_for 120 bash -c "$(declare -f bottom_tabs); E2E_APP_PID=$E2E_APP_PID screen_height=$screen_height; [ -n \"\$(bottom_tabs)\" ]"; then
        echo "FAIL huge-tab: no tab appeared" >&2
        failures=$((failures + 1))
    else
        read -r x y w h <<<"$(bottom_tabs | head -1)"
        xdotool mousemove $((x + w / 2)) $((screen_height - 2))
        opened() {
            local id
            for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
                eval "$(xdotool getwindowgeometry --shell "$id")"
                [ "$X" = "$x" ] && [ "$HEIGHT" = "$open_height" ] && [ "$Y" -ge 0 ] && return 0
            done
            return 1
        }
        if ! e2e_wait_for 120 opened; then
            echo "FAIL huge-tab: the tab did not open to $open_height pixels within the screen" >&2
            failures=$((failures + 1))
        fi
        peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$E2E_APP_PID/status" 2>/dev/null)
        if [ -z "$peak" ]; then
            echo "FAIL huge-tab: the program ended" >&2
            tail -n 20 "$E2E_APP_LOG" >&2
            failures=$((failures + 1))
        elif [ "$peak" -ge $((300 * 1000)) ] && ! grep -q AddressSanitizer "$app/Kelvara"; then
            # (A sanitizer build keeps freed memory aside on purpose: its peak says nothing.)
            echo "FAIL huge-tab: peak memory $peak kB, not under 300 MB" >&2
            failures=$((failures + 1))
        fi
        echo "huge-tab: peak resident memory ${peak:-?} kB with 100000 shortcuts, the tab open"
    fi
    kill "$E2E_APP_PID" 2>/dev/null
    wait "$E2E_APP_PID" 2>/dev/null
    xdotool mousemove 600 200
    if ls "$work"/sanitizer* >/dev/null 2>&1; then
        echo "FAIL huge-tab: sanitizer report" >&2
        head -n 40 "$work"/sanitizer* >&2
        failures=$((failures + 1))
    fi
}
huge_tab

[ $failures = 0 ] || exit 1
echo "hostile_folders_e2e: all checks passed"
