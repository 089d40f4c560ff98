# Helpers of the real-window tests, beside the shared ones of xvfb.sh: a scratch copy of the
# program folder, a launch recorder, windows of a process, tab heights, and an xdotool drag that
# makes a real XDND drop.

# The common start of a test: a scratch copy of the program folder $1 (e2e_copy_program) with
# private XDG config and data folders in it, and an exit trap that runs the commands a test puts in
# E2E_CLEANUP (say, ending a helper program it started), stops the display and removes the scratch
# folder.
e2e_prepare() {
    e2e_copy_program "$1"
    export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
    E2E_CLEANUP=${E2E_CLEANUP:-}
    trap 'eval "$E2E_CLEANUP"; e2e_stop_display; rm -rf "$work"' EXIT
}

# Copies the program folder $1 into a new scratch folder. Sets work (the scratch folder), app (the
# copy) and the default skin's tab_height, head_height and item_height.
e2e_copy_program() {
    work=$(mktemp -d)
    cp -r "$1" "$work/Kelvara"
    app=$work/Kelvara
    tab_height=$(e2e_skin_value TabHeight)
    head_height=$(e2e_skin_value HeadHeight)
    item_height=$(e2e_skin_value ItemHeight)
}

# The value of key $1 in the default skin of the copy.
e2e_skin_value() { grep -i "^$1=" "$app/Aqua/skin.ini" | head -1 | cut -d= -f2 | tr -d '\r '; }

# Writes $work/record.sh: run with an argument, it records that argument in $work/launched-ARG.
# The record is renamed into place, so it is whole once it exists.
e2e_write_recorder() {
    cat > "$work/record.sh" <<SCRIPT
#!/bin/sh
echo "\$1" > "$work/launched-\$1.tmp"
mv "$work/launched-\$1.tmp" "$work/launched-\$1"
SCRIPT
    chmod +x "$work/record.sh"
}

# Starts the copy in the background, its error output in $work/program.log; sets pid. Arguments
# are put before the program as environment settings (NAME=VALUE).
e2e_start_program() {
    E2E_APP_LOG=$work/program.log
    env "$@" "$app/Kelvara" 2> "$E2E_APP_LOG" &
    E2E_APP_PID=$!
    pid=$E2E_APP_PID
}

# Prints "x y w h" of the first visible window named NAME; fails when there is none.
e2e_window() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# Prints "x y w h" of every visible window of process PID, from left to right.
e2e_windows_of() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        echo "$X $Y $WIDTH $HEIGHT"
    done | sort -n
}

e2e_window_count_is() { [ "$(e2e_windows_of "$1" | wc -l)" = "$2" ]; }

# Succeeds when process PID shows COUNT closed tabs on the bottom edge of a screen BOTTOM
# pixels high (the splash, which comes first, is no tab).
e2e_tabs_placed() {
    [ "$(e2e_windows_of "$1" | awk -v y=$(($3 - tab_height)) -v h="$tab_height" '$2 == y && $4 == h' |
        wc -l)" = "$2" ]
}

# The ids of the visible windows of process PID, one a line, sorted. A rebuild of the tab set
# makes new windows, so new ids tell that it has happened.
e2e_window_ids_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | sort; }

# Succeeds when process PID shows COUNT windows and none of them is one of the ids in OLD.
e2e_rebuilt_with() {
    local ids
    ids=$(e2e_window_ids_of "$1")
    [ "$(printf '%s\n' "$ids" | grep -c .)" = "$3" ] && [ -z "$(comm -12 <(echo "$2") <(echo "$ids"))" ]
}

# Succeeds when the tab window at along-edge position X (of process PID) is H pixels high.
e2e_tab_height_is() {
    e2e_windows_of "$1" | awk -v x="$2" -v h="$3" '$1 == x && $4 == h { found = 1 } END { exit !found }'
}

# Drags with the left button from (x1, y1) to (x2, y2) in 12 steps 50 ms apart, which is what an
# XDND drop between two programs needs.
e2e_drag() {
    local x1=$1 y1=$2 x2=$3 y2=$4 i
    xdotool mousemove "$x1" "$y1"
    sleep 0.1
    xdotool mousedown 1
    for i in $(seq 1 12); do
        xdotool mousemove $((x1 + (x2 - x1) * i / 12)) $((y1 + (y2 - y1) * i / 12))
        sleep 0.05
    done
    # A few small moves at the end let the target answer the last position before the drop.
    for i in 1 2 3; do
        xdotool mousemove "$((x2 + i))" "$y2"
        sleep 0.1
    done
    xdotool mouseup 1
}
