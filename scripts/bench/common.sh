# Shared by the benchmark scripts: sourced, not run. Needs $build (the build folder) and $work (a
# scratch folder the caller removes); starts Xvfb and writes program folders there.

xvfb_pid=
# Kelvara shows only the tabs that fit on the screen edge. The screen is wide enough for 200 of
# the default skin's tabs (140 pixels apart) at scale 1, so that the large sets measure all their
# windows; at scale 2 half of that width holds 100 of them.
bench_width=28200
bench_height=1080
stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}

# Starts Xvfb and exports DISPLAY for the xcb platform. The server takes the first free display
# number itself and writes it to a pipe once it accepts connections (-displayfd), so that scripts
# and tests starting at the same moment never take the same number.
start_xvfb() {
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    mkfifo "$work/display"
    # The server resets whenever its last client leaves, so every program measured meets a fresh
    # one; map_watch stays connected while a program starts, so no reset can refuse it.
    Xvfb -screen 0 "${bench_width}x${bench_height}x24" -nolisten tcp -displayfd 3 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    local display=""
    read -r -t 60 display <"$work/display" || true
    rm -f "$work/display"
    if [ -z "$display" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$display"
    export QT_QPA_PLATFORM=xcb
}

# make_folder NAME TABS ITEMS: a program folder $work/NAME, a copy of the built one (executable,
# skins, translations, splash clip; no tabs, no settings file, so the defaults apply: skin Aqua,
# always on top Normal, no update check) with a generated tab set of TABS tabs of ITEMS shortcuts.
# With $baseline (the build folder of another checkout) also $work/NAME-before: that build's
# program folder with the same tab set (hard links; both programs only read it).
make_folder() {
    local dir=$work/$1
    mkdir -p "$dir"
    (cd "$build/Kelvara" && find . -maxdepth 1 -mindepth 1 ! -name Tabs ! -name '*.ini' -exec cp -r {} "$dir/" \;)
    "$build/tools/make_bench_folder" "$dir" "$2" "$3"
    if [ -n "${baseline:-}" ]; then
        mkdir -p "$dir-before"
        (cd "$baseline/Kelvara" && find . -maxdepth 1 -mindepth 1 ! -name Tabs ! -name '*.ini' -exec cp -r {} "$dir-before/" \;)
        cp -al "$dir/Tabs" "$dir-before/Tabs"
    fi
}

# skip_splash BUILD: the map_watch options that leave out the splash of the program in BUILD: its
# window role, or, for a program older than that role, the first window it maps.
skip_splash() {
    if grep -q kelvara-splash "$1/Kelvara/Kelvara"; then echo "--skip-role kelvara-splash"; else echo "--skip-first 1"; fi
}

# One line naming the machine and the versions that the figures depend on.
print_machine() {
    echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
        "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), Linux $(uname -r)," \
        "Qt $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null || echo '?'), Xvfb ${bench_width}x${bench_height}x24"
}

# tabs_shown TABS SCALE: how many of TABS default-skin tabs fit on the bottom edge at that scale
# (128 pixels wide, 12 apart, in logical pixels).
tabs_shown() {
    python3 -c "import sys; tabs, scale = int(sys.argv[1]), float(sys.argv[2]); print(min(tabs, int(($bench_width / scale + 12) // 140)))" "$1" "$2"
}

# The set-up both benchmark scripts share: Xvfb, removed with $work on exit, and the generated
# program folders $work/k10x20, $work/k30x40 and $work/k200x200.
start_bench_display_and_folders() {
    trap 'stop_xvfb; rm -rf "$work"' EXIT
    start_xvfb
    make_folder k10x20 10 20
    make_folder k30x40 30 40
    make_folder k200x200 200 200
}
