#!/usr/bin/env bash
# Soak test of the tab set: 1000 rebuilds of 10 tabs (first argument: another count). Runs twice:
# in the normal build for the resident memory, which must stay flat after the first hundred
# rebuilds, and in the sanitizer build (build-asan/, with the benchmarks switched on there) under
# LeakSanitizer, which fails the run on any leak.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rebuilds=${1:-1000}
build=${BUILD_DIR:-$root/build}
asan=${ASAN_BUILD_DIR:-$root/build-asan}

"$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target rebuild_soak_bench >/dev/null
# The offscreen platform warns at every window it cannot shape or raise; those lines are dropped.
quiet() { grep -v -e 'This plugin does not support' -e XDG_RUNTIME_DIR >&2 || true; }

echo "== resident memory ($build)"
"$build/bench/rebuild_soak_bench" "$build/Kelvara" "$rebuilds" 2> >(quiet)

if [ ! -f "$asan/build.ninja" ]; then
    cmake -S "$root" -B "$asan" -G Ninja -DKELVARA_SANITIZE=ON >/dev/null
fi
cmake "$asan" -DKELVARA_BENCH=ON >/dev/null
cmake --build "$asan" >/dev/null
echo "== leaks ($asan, LeakSanitizer)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
    "$asan/bench/rebuild_soak_bench" "$asan/Kelvara" "$rebuilds" 2> >(quiet)
echo "no leak reported"
