#!/usr/bin/env bash
# The main thread's start, step by step: runs Kelvara on the generated tab sets 10 x 20 and
# 30 x 40 (scale 1) with the log category "kelvara.startup" on, until all its tabs are mapped,
# and prints for every step the median processor time of the main thread since the process
# began, the time the step itself took, and the wall time since main() began. The watcher's own
# figure (start to all tabs mapped, seen from outside) closes each list.
# With BASELINE set to the build folder of another checkout whose program marks the same
# log category, its steps are printed too, from the same runs.
#     [BASELINE=DIR] scripts/bench/startup_profile.sh [RUNS]        (default 9)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
baseline=${BASELINE:-}
runs=${1:-9}
cmake --build "$build" --target Kelvara program_folder map_watch make_bench_folder >/dev/null
if [ -n "$baseline" ]; then baseline=$(cd "$baseline" && pwd); fi

work=$(mktemp -d)
. "$root/scripts/bench/common.sh"
trap 'stop_xvfb; rm -rf "$work"' EXIT
start_xvfb
make_folder k10x20 10 20
make_folder k30x40 30 40

export QT_LOGGING_RULES="kelvara.startup.debug=true"
mkdir -p "$work/logs"
for run in $(seq "$runs"); do
    for set in k10x20 k30x40; do
        tabs=${set#k}
        tabs=${tabs%x*}
        for variant in "" -before; do
            [ -z "$variant" ] || [ -n "$baseline" ] || continue
            log=$work/logs/$set$variant.$run
            program=$build
            [ -z "$variant" ] || program=$baseline
            "$build/tools/map_watch" --windows "$tabs" $(skip_splash "$program") --timeout 60 -- \
                "$work/$set$variant/Kelvara" >"$log.watch" 2>"$log"
        done
    done
    echo "run $run of $runs done" >&2
done
print_machine
python3 - "$work/logs" "$runs" <<'PY'
import os, re, statistics, sys
logs, runs = sys.argv[1], int(sys.argv[2])
for name in ("k10x20", "k10x20-before", "k30x40", "k30x40-before"):
    steps, order = {}, []
    mapped = []
    for run in range(1, runs + 1):
        path = os.path.join(logs, f"{name}.{run}")
        if not os.path.exists(path):
            continue
        seen = set()
        for line in open(path, errors="replace"):
            m = re.match(r"kelvara\.startup: (.*) cpu=([\d.]+) wall=([\d.]+)", line)
            if not m or m.group(1) in seen:
                continue  # a step marked again by a later rebuild counts once
            seen.add(m.group(1))
            if m.group(1) not in steps:
                order.append(m.group(1))
            steps.setdefault(m.group(1), []).append((float(m.group(2)), float(m.group(3))))
        watch = open(path + ".watch").read()
        m = re.search(r"mapped_ms=([\d.]+)", watch)
        if m:
            mapped.append(float(m.group(1)))
    if not steps:
        continue
    print(f"\n{name}: {len(mapped)} runs, medians in ms")
    print(f"  {'step':42} {'cpu':>7} {'step cpu':>9} {'wall':>7}")
    previous = 0.0
    for step in order:
        cpu = statistics.median(v[0] for v in steps[step])
        wall = statistics.median(v[1] for v in steps[step])
        print(f"  {step:42} {cpu:7.1f} {cpu - previous:9.1f} {wall:7.1f}")
        previous = cpu
    if mapped:
        print(f"  {'all tabs mapped (seen from outside)':42} {'':7} {'':9} {statistics.median(mapped):7.1f}")
PY
