# Helpers of the mouse real-window test, beside the shared ones of xvfb.sh: windows of a process,
# tab heights, and an xdotool drag that makes a real XDND drop.

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
