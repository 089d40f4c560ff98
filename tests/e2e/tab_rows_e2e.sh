#!/usr/bin/env bash
# A row of four tabs on each screen edge under Xvfb, without and with a compositing manager, one
# tab opened; saves a screenshot of each and checks what a person would see: the rounded corners
# of the open tab show the desktop, no KeyColour pixel and no black pixel (transparent pixels of
# a window without a compositor) is on the screen, and the open tab has its full length.
#
#   tab_rows_e2e.sh PROGRAM_FOLDER [SHOT_FOLDER]
#
# The demo program is tools/tab_demo of the same build. Screenshots go to SHOT_FOLDER (default:
# e2e-shots beside the program folder).
set -u
program=$(cd "$1" && pwd)
demo=$program/../tools/tab_demo
shots=${2:-$program/../e2e-shots}
mkdir -p "$shots"
[ -x "$demo" ] || { echo "tab_demo not built: $demo"; exit 1; }

root_colour='#5a7a9a'         # the desktop without a compositor (a compositor paints its own)
failures=0 passed=0 cases=0
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
trap e2e_stop_display EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

pixel() { /usr/bin/convert "$1" -format "%[pixel:p{$2,$3}]" info:; }

# What a person sees, from a screenshot of the whole screen; sets problems to what is wrong, if
# anything. The tabs stand still once the demo has reported, but a compositor may draw them a
# little later: the screenshot is taken again until it passes or the wait ends.
look_at_tabs() {
    local corner desktop histogram
    problems=""
    /usr/bin/import -window root "$shot"
    corner=$(pixel "$shot" "$far_x" "$far_y")
    desktop=$(pixel "$shot" $((512 * scale)) $((300 * scale)))
    [ "$comp" = 1 ] || [ "$desktop" = 'srgb(90,122,154)' ] || problems+="desktop is $desktop; "
    [ "$square" = 1 ] || [ "$corner" = "$desktop" ] ||
        problems+="rounded corner at $far_x,$far_y shows $corner; "
    histogram=$(/usr/bin/convert "$shot" -format %c histogram:info:-)
    grep -q '#0000FE' <<<"$histogram" && problems+="KeyColour pixels on the screen; "
    grep -q '#000000 ' <<<"$histogram" && problems+="black pixels on the screen; "
    [ -z "$problems" ]
}

run_case() { # edge compositor(0/1) name [device pixel ratio] [shipped skin]
    local edge=$1 comp=$2 name=$3 scale=${4:-1} skin=${5:-} before=$failures
    cases=$((cases + 1))
    local shot=$shots/$name.png report=$shots/$name.txt
    # The screen keeps 1024 x 600 logical pixels at every device pixel ratio.
    E2E_COMPOSITOR=0 e2e_start_display $((1024 * scale))x$((600 * scale))
    xsetroot -solid "$root_colour"
    [ "$comp" = 1 ] && e2e_start_compositor
    rm -f "$report"
    local skin_args=()
    [ -n "$skin" ] && skin_args=(--skin "$skin" --app "$program")
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$demo" "$edge" --open 1 --report "$report" \
        "${skin_args[@]}" >/dev/null 2>&1 &
    E2E_APP_PID=$!
    if ! e2e_wait_for 60 test -s "$report"; then
        fail "$name: the demo wrote no report"
        e2e_stop_display
        return
    fi

    local x y w h translucent head item items
    read -r _ x y w h translucent head item items < <(sed -n 2p "$report")
    # The report is in logical pixels; the screenshot in device pixels.
    x=$((x * scale)) y=$((y * scale)) w=$((w * scale)) h=$((h * scale))
    local length=$(( (head + items * item) * scale ))
    local far_x=$x far_y=$y
    case $edge in
        bottom) [ "$h" = "$length" ] || fail "$name: open length $h, expected $length" ;;
        top) [ "$h" = "$length" ] || fail "$name: open length $h, expected $length"; far_y=$((y + h - 1)) ;;
        left) [ "$w" = "$length" ] || fail "$name: open length $w, expected $length"; far_x=$((x + w - 1)) ;;
        right) [ "$w" = "$length" ] || fail "$name: open length $w, expected $length" ;;
    esac
    [ "$comp" = 1 ] && [ "$translucent" != 1 ] && fail "$name: compositor not noticed"
    [ "$comp" = 0 ] && [ "$translucent" != 0 ] && fail "$name: translucent without a compositor"
    # A skin with square tabs has no see-through corner to look at.
    local square=0 problems=""
    [ -n "$skin" ] && grep -qiE '^ *TabShape *= *rect' "$program/$skin/skin.ini" && square=1
    e2e_wait_for 30 look_at_tabs || { look_at_tabs || fail "$name: $problems"; }
    e2e_stop_display
    [ "$failures" = "$before" ] && passed=$((passed + 1))
    echo "$name: $shot"
}

for edge in bottom left top right; do
    run_case "$edge" 0 "tabs-$edge"
    run_case "$edge" 1 "tabs-$edge-composited"
done
run_case bottom 0 "tabs-bottom-scale2" 2
run_case right 1 "tabs-right-composited-scale2" 2
# The shipped skins, as far as the program folder has them.
for ini in "$program"/*/skin.ini; do
    [ -f "$ini" ] || continue
    skin=$(basename "$(dirname "$ini")")
    run_case left 0 "tabs-left-$skin" 1 "$skin"
    run_case top 1 "tabs-top-composited-$skin" 1 "$skin"
done

echo "$passed passed, $((cases - passed)) failed"
[ "$failures" = 0 ]
