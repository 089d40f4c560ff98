#!/usr/bin/env bash
# Start-up benchmark of whole programs under one Xvfb: the wall time from starting each program to
# all of its windows mapped, seen from outside by build/tools/map_watch (an X event watcher), the
# processor time of its main thread by then, its peak resident memory and its resident memory once
# it has settled. Programs, interleaved run by run, each at QT_SCALE_FACTOR=1 and 2:
#   bare       build/tools/bare_window, a Qt program that shows one frameless tool window
#   floorN     the same program with N such windows, each shaped by a mask and with a caption
#              painted in the default font: the least a row of N closed tabs costs (the floor
#              each Kelvara set is compared with, N being the number of tabs it shows)
#   10x20      Kelvara on a generated program folder with 10 tabs of 20 shortcuts (default skin)
#   30x40      the same with 30 tabs of 40 shortcuts
#   200x200    the same with 200 tabs of 200 shortcuts; its memory is taken after 3 s at rest,
#              when every shortcut has been read (at scale 2 the screen holds 100 of the tabs)
#   plank      the dock Plank with 20 launchers, when it is installed (scale 1 only)
# With BASELINE set to the build folder of another checkout (for example of main), that build's
# Kelvara runs on the same tab sets in the same runs, so that before and after meet the same load.
# Then the idle pass: Kelvara 10x20 sits with every tab closed (always on top: Normal) and the
# watcher counts its threads' wake-ups (voluntary context switches) over 10 s.
# Prints medians, the ratios to the floor with as many windows and to the one bare window at the
# same scale, the machine and its load average.
#     [BASELINE=DIR] scripts/bench/startup.sh [RUNS]        (default 9; BUILD_DIR defaults to build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
baseline=${BASELINE:-}
runs=${1:-9}
cmake --build "$build" --target Kelvara program_folder map_watch make_bench_folder bare_window >/dev/null
if [ -n "$baseline" ]; then
    baseline=$(cd "$baseline" && pwd)
    [ -x "$baseline/Kelvara/Kelvara" ] || { echo "no program in $baseline/Kelvara" >&2; exit 2; }
fi

work=$(mktemp -d)
. "$root/scripts/bench/common.sh"
start_bench_display_and_folders

# Plank with 20 launchers, in a home of its own; settings in memory, nothing written elsewhere.
plank_home=$work/plank
have_plank=false
if command -v plank >/dev/null; then
    have_plank=true
    mkdir -p "$plank_home/config/plank/dock1/launchers" "$plank_home/data/applications"
    for i in $(seq 20); do
        printf '[Desktop Entry]\nType=Application\nName=Program %d\nExec=true\nIcon=%s\n' \
            "$i" "$work/k10x20/Icons/icon$((i % 8)).png" >"$plank_home/data/applications/program$i.desktop"
        printf '[PlankDockItemPreferences]\nLauncher=file://%s\n' \
            "$plank_home/data/applications/program$i.desktop" >"$plank_home/config/plank/dock1/launchers/program$i.dockitem"
    done
fi
run_plank() {
    HOME=$plank_home XDG_CONFIG_HOME=$plank_home/config XDG_DATA_HOME=$plank_home/data \
        GSETTINGS_BACKEND=memory "$build/tools/map_watch" "$@" -- plank 2>>"$work/plank.log"
}

watch="$build/tools/map_watch"
results=$work/results
# One line of results: NAME SCALE key=value...
measure() {
    local name=$1 scale=$2
    shift 2
    echo "$name $scale $(QT_SCALE_FACTOR=$scale "$watch" "$@")" >>"$results"
}
# Kelvara on a tab set, and the baseline's on the same set. The splash is not a tab: it carries a
# window role of its own, or, in a build older than that role, it is the first window mapped.
kelvara() {
    local name=$1 scale=$2 tabs=$3
    local settle=500
    [ "$tabs" -gt 100 ] && settle=3000
    tabs=$(tabs_shown "$tabs" "$scale")
    measure "floor-$name" "$scale" --windows "$tabs" --settle "$settle" -- "$build/tools/bare_window" "$tabs"
    measure "$name" "$scale" --windows "$tabs" $(skip_splash "$build") --settle "$settle" --timeout 120 \
        -- "$work/$name/Kelvara"
    if [ -n "$baseline" ]; then
        measure "$name-before" "$scale" --windows "$tabs" $(skip_splash "$baseline") --settle "$settle" \
            --timeout 120 -- "$work/$name-before/Kelvara"
    fi
}
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for run in $(seq "$runs"); do
    for scale in 1 2; do
        measure bare "$scale" --windows 1 -- "$build/tools/bare_window"
        kelvara k10x20 "$scale" 10
        kelvara k30x40 "$scale" 30
        kelvara k200x200 "$scale" 200
    done
    if $have_plank; then echo "plank 1 $(run_plank --windows 1)" >>"$results"; fi
    echo "run $run of $runs done" >&2
done
for _ in 1 2 3; do
    measure idle 1 --windows 10 $(skip_splash "$build") --settle 1000 --idle 10 -- "$work/k10x20/Kelvara"
done
if $have_plank; then echo "plankidle 1 $(run_plank --windows 1 --settle 1000 --idle 10)" >>"$results"; fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

print_machine
echo "load average (1, 5, 15 min): before $load_before, after $load_after; $runs runs, medians"
if [ -n "$baseline" ]; then echo "before: the build in $baseline"; fi
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
failed = {}
for line in open(sys.argv[1]):
    name, scale, *pairs = line.split()
    key = (name, scale)
    if not pairs or any("=" not in p for p in pairs):
        failed[key] = failed.get(key, 0) + 1  # the watcher said why on stderr
        continue
    rows.setdefault(key, []).append({k: float(v) for k, v in (p.split("=") for p in pairs)})
if failed:
    print("runs without a result (left out):", ", ".join(f"{n} at {s}: {c}" for (n, s), c in failed.items()))
def median(key, field):
    values = [r[field] for r in rows.get(key, []) if field in r]
    return statistics.median(values) if values else None
labels = [("bare", "bare Qt window"), ("k10x20", "Kelvara 10 x 20"), ("k30x40", "Kelvara 30 x 40"),
          ("k200x200", "Kelvara 200 x 200"), ("plank", "Plank, 20 launchers")]
# Each Kelvara set is compared with the floor that shows as many windows ("/ floor") and with the
# one bare window ("/ bare"); the floor's own line compares it with the bare window. "CPU ms" is
# the processor time of the main thread until the windows were mapped, which a loaded machine
# inflates much less than the wall time.
print(f"{'program':30} {'scale':>5} {'mapped ms':>10} {'/ floor':>8} {'/ bare':>7} {'CPU ms':>7} {'/ floor':>8}"
      f" {'peak RSS MiB':>13} {'/ floor':>8} {'/ bare':>7} {'RSS MiB':>8}")
for scale in ("1", "2"):
    bare_ms, bare_kb = median(("bare", scale), "mapped_ms"), median(("bare", scale), "hwm_kb")
    def line(key, text, against):
        ms, cpu, hwm, rss = (median(key, f) for f in ("mapped_ms", "main_cpu_ms", "hwm_kb", "rss_kb"))
        def ratio(value, field):
            return f"{value / median(against, field):7.2f}x" if against else " " * 8
        print(f"{text:30} {scale:>5} {ms:10.1f} {ratio(ms, 'mapped_ms')} {ms / bare_ms:6.2f}x {cpu:7.1f}"
              f" {ratio(cpu, 'main_cpu_ms')} {hwm / 1024:13.1f} {ratio(hwm, 'hwm_kb')} {hwm / bare_kb:6.2f}x"
              f" {rss / 1024:8.1f}")
    for name, label in labels:
        floor = ("floor-" + name, scale)
        against = floor if floor in rows else None
        if against:
            line(floor, "floor, as many windows", None)
        for suffix, note in (("", ""), ("-before", " (before)")):
            key = (name + suffix, scale)
            if key in rows and not (suffix and name == "bare"):
                line(key, label + note, against)
if ("plank", "1") in rows:
    p_ms, p_kb = median(("plank", "1"), "mapped_ms"), median(("plank", "1"), "hwm_kb")
    for name, label in (("k10x20", "Kelvara 10 x 20"), ("k30x40", "Kelvara 30 x 40")):
        print(f"{label} / Plank: start-up {median((name, '1'), 'mapped_ms') / p_ms:.2f}x,"
              f" peak memory {median((name, '1'), 'hwm_kb') / p_kb:.2f}x")
for name, label in (("idle", "Kelvara 10 x 20 idle"), ("plankidle", "Plank idle")):
    if (name, "1") in rows:
        print(f"{label}: {median((name, '1'), 'wakeups_per_s'):.2f} wake-ups/s (all threads),"
              f" {median((name, '1'), 'main_wakeups_per_s'):.2f} in the main thread")
PY
