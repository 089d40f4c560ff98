#!/usr/bin/env bash
# The in-process benchmarks on generated program folders (10 tabs x 20 shortcuts, 30 x 40 and
# 200 x 200, default skin) under one Xvfb: RebuildTabs and memory over 200 refreshes (20 for
# 200 x 200) with the longest stall of the event loop (refresh_bench), the time from the pointer
# entering a closed tab to its first frame on screen at QT_SCALE_FACTOR=1 and 2
# (open_latency_bench), one animation tick (animation_bench), a drop (drop_bench), and the skin
# loads (skin_load_bench).
#     scripts/bench/in_process.sh              (BUILD_DIR defaults to build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake --build "$build" --target program_folder make_bench_folder refresh_bench open_latency_bench \
    animation_bench drop_bench skin_load_bench >/dev/null

work=$(mktemp -d)
. "$root/scripts/bench/common.sh"
start_bench_display_and_folders
print_machine

echo "== refresh_bench"
"$build/bench/refresh_bench" "$work/k10x20" "$work/k30x40"
"$build/bench/refresh_bench" --refreshes 20 "$work/k200x200"
echo "== open_latency_bench"
for scale in 1 2; do
    QT_SCALE_FACTOR=$scale "$build/bench/open_latency_bench" "$work/k10x20"
    QT_SCALE_FACTOR=$scale "$build/bench/open_latency_bench" "$work/k30x40"
done
echo "== animation_bench"
"$build/bench/animation_bench" "$work/k10x20"
echo "== drop_bench"
"$build/bench/drop_bench" "$work/k10x20"
echo "== skin_load_bench"
"$build/bench/skin_load_bench" "$root/data"
