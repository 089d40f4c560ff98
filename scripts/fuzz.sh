#!/usr/bin/env bash
# Builds the libFuzzer configuration (build-fuzz/, clang with ASan and UBSan) and runs every
# fuzz/<name>_fuzz.cpp target for N seconds each (first argument, default 60), JOBS targets at a
# time (second argument, default 1); further arguments name the targets to run (default all). Each
# starts from the seed corpus fuzz/corpus/<name>/. New corpus
# entries stay in build-fuzz/corpus/<name>/; crashing inputs go to fuzz/findings/. Prints one line
# per target (also kept in build-fuzz/fuzz-report.txt) and exits non-zero if any found something.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=${2:-1}
build=$root/build-fuzz
findings=$root/fuzz/findings

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKELVARA_FUZZ=ON >/dev/null
fi
targets=("${@:3}")
if [ "${#targets[@]}" -eq 0 ]; then
    for source in "$root"/fuzz/*_fuzz.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi
cmake --build "$build" --target "${targets[@]}" >/dev/null
mkdir -p "$findings"

# Runs one target and writes its report line to build-fuzz/<target>.result.
run_target() {
    local target=$1 name=${1%_fuzz}
    local work=$build/corpus/$name log=$build/$target.log rc=0
    mkdir -p "$work" "$root/fuzz/corpus/$name"
    "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 \
        -artifact_prefix="$findings/$name-" "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1 || rc=$?
    local runs
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    local result="nothing found"
    [ "$rc" -eq 0 ] || result="FOUND a failure (exit $rc), see $log and $findings"
    printf '%-24s %8s %14s  %s\n' "$target" "$seconds" "${runs:-?}" "$result" >"$build/$target.result"
}

running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

report=$build/fuzz-report.txt
{
    printf '%-24s %8s %14s  %s\n' target seconds executions result
    for target in "${targets[@]}"; do
        cat "$build/$target.result"
    done
} | tee "$report"
! grep -q FOUND "$report"
