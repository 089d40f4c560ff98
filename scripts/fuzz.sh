#!/usr/bin/env bash
# Builds the libFuzzer configuration (build-fuzz/, clang with ASan and UBSan) and runs every
# fuzz/<name>_fuzz.cpp target for N seconds each (first argument, default 60), starting from the
# seed corpus fuzz/corpus/<name>/. New corpus entries stay in build-fuzz/corpus/<name>/; crashing
# inputs go to fuzz/findings/. Prints one line per target and exits non-zero if any found something.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz
findings=$root/fuzz/findings

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKELVARA_FUZZ=ON >/dev/null
fi
mkdir -p "$findings"

status=0
printf '%-24s %8s %14s  %s\n' target seconds executions result
for source in "$root"/fuzz/*_fuzz.cpp; do
    target=$(basename "$source" .cpp)
    name=${target%_fuzz}
    cmake --build "$build" --target "$target" >/dev/null
    work=$build/corpus/$name
    mkdir -p "$work" "$root/fuzz/corpus/$name"
    log=$build/$target.log
    set +e
    "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1
    rc=$?
    set -e
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    if [ "$rc" -eq 0 ]; then
        result="nothing found"
    else
        result="FOUND a failure (exit $rc), see $log and $findings"
        status=1
    fi
    printf '%-24s %8s %14s  %s\n' "$target" "$seconds" "${runs:-?}" "$result"
done
exit $status
