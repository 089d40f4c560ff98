#!/usr/bin/env bash
# Start-up benchmark of whole programs under one Xvfb: the wall time from starting each program to
# all of its windows mapped, seen from outside by build/tools/map_watch (an X event watcher), and
# its peak resident memory. Programs, interleaved run by run:
#   bare       build/tools/bare_window, a Qt program that shows one frameless tool window (floor)
#   k10x20     Kelvara on a generated program folder with 10 tabs of 20 shortcuts (default skin)
#   k30x40     the same with 30 tabs of 40 shortcuts
#   plank      the dock Plank with 20 launchers, when it is installed
# Then the idle pass: Kelvara 10x20 sits with every tab closed (always on top: Normal) and the
# watcher counts its threads' wake-ups (voluntary context switches) over 10 s.
# Prints medians, the ratios to the bare window and to Plank, the machine and its load average.
#     scripts/bench/startup.sh [RUNS]        (default 9; BUILD_DIR defaults to build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${1:-9}
cmake --build "$build" --target Kelvara program_folder map_watch make_bench_folder bare_window >/dev/null

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
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for run in $(seq "$runs"); do
    echo "bare $("$watch" --windows 1 -- "$build/tools/bare_window")" >>"$results"
    # The splash is the first window Kelvara maps; it is not a tab.
    echo "k10x20 $("$watch" --windows 10 --skip-first 1 -- "$work/k10x20/Kelvara")" >>"$results"
    echo "k30x40 $("$watch" --windows 30 --skip-first 1 -- "$work/k30x40/Kelvara")" >>"$results"
    if $have_plank; then echo "plank $(run_plank --windows 1)" >>"$results"; fi
    echo "run $run of $runs done" >&2
done
for _ in 1 2 3; do
    echo "idle $("$watch" --windows 10 --skip-first 1 --settle 1000 --idle 10 -- "$work/k10x20/Kelvara")" >>"$results"
done
if $have_plank; then echo "plankidle $(run_plank --windows 1 --settle 1000 --idle 10)" >>"$results"; fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

print_machine
echo "load average (1, 5, 15 min): before $load_before, after $load_after; $runs runs, medians"
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
failed = {}
for line in open(sys.argv[1]):
    name, *pairs = line.split()
    if not pairs or any("=" not in p for p in pairs):
        failed[name] = failed.get(name, 0) + 1  # the watcher said why on stderr
        continue
    rows.setdefault(name, []).append({k: float(v) for k, v in (p.split("=") for p in pairs)})
if failed:
    print("runs without a result (left out):", ", ".join(f"{k} {v}" for k, v in failed.items()))
def median(name, key):
    values = [r[key] for r in rows.get(name, []) if key in r]
    return statistics.median(values) if values else None
labels = {"bare": "bare Qt window", "k10x20": "Kelvara 10 x 20", "k30x40": "Kelvara 30 x 40",
          "plank": "Plank, 20 launchers"}
print(f"{'program':22} {'mapped ms':>10} {'peak RSS MiB':>13} {'RSS MiB':>8}")
for name, label in labels.items():
    if name in rows:
        print(f"{label:22} {median(name, 'mapped_ms'):10.1f} {median(name, 'hwm_kb') / 1024:13.1f}"
              f" {median(name, 'rss_kb') / 1024:8.1f}")
bare_ms, bare_kb = median("bare", "mapped_ms"), median("bare", "hwm_kb")
for name in ("k10x20", "k30x40"):
    print(f"{labels[name]} / bare window: start-up {median(name, 'mapped_ms') / bare_ms:.2f}x,"
          f" peak memory {median(name, 'hwm_kb') / bare_kb:.2f}x")
if "plank" in rows:
    p_ms, p_kb = median("plank", "mapped_ms"), median("plank", "hwm_kb")
    print(f"Kelvara 10 x 20 / Plank: start-up {median('k10x20', 'mapped_ms') / p_ms:.2f}x,"
          f" peak memory {median('k10x20', 'hwm_kb') / p_kb:.2f}x")
    print(f"Kelvara 30 x 40 / Plank: start-up {median('k30x40', 'mapped_ms') / p_ms:.2f}x,"
          f" peak memory {median('k30x40', 'hwm_kb') / p_kb:.2f}x")
for name, label in (("idle", "Kelvara 10 x 20 idle"), ("plankidle", "Plank idle")):
    if name in rows:
        print(f"{label}: {median(name, 'wakeups_per_s'):.2f} wake-ups/s (all threads),"
              f" {median(name, 'main_wakeups_per_s'):.2f} in the main thread")
PY
