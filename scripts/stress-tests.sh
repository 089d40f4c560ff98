#!/usr/bin/env bash
# Runs the tests over and over, without and with load, to find tests that depend on the speed of
# the machine: the unit tests 5 times with no added load, then 3 times while two busy loops
# compete for the processors, then the real-window tests (label e2e) twice under the same load.
# Builds first. Prints a line per run (result, time, load average) and the output of every
# failing test; ends with a summary and fails when any run failed.
#
#   scripts/stress-tests.sh [BUILD_DIR]    (default: build/, or $BUILD_DIR)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_DIR:-$root/build}}
BUILD_DIR=$build "$root/scripts/build.sh" || exit 1
cd "$build" || exit 1

logs=$(mktemp -d)
busy=()
stop_load() {
    local pid
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
    busy=()
}
start_load() {
    local _
    for _ in 1 2; do
        sh -c 'while :; do :; done' &
        busy+=($!)
    done
}
trap 'stop_load; rm -rf "$logs"' EXIT

runs=0 failed=0
# run LABEL LOAD N: one ctest run of the tests labelled LABEL.
run() {
    local label=$1 load=$2 n=$3 started=$SECONDS result
    local log=$logs/$label-$load-$n.txt
    runs=$((runs + 1))
    if ctest -L "^$label\$" -j"$(nproc)" --output-on-failure >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
    fi
    echo "$label run $n, $load: $result: $(grep -E 'tests passed|tests failed' "$log")," \
        "$((SECONDS - started)) s, load average $(cut -d' ' -f1 /proc/loadavg)"
    if [ "$result" = FAILED ]; then
        sed -n '/The following tests FAILED/,$p' "$log"
        grep -B2 -A25 -E 'Failure|FAIL:|\*\*\*Failed|\*\*\*Timeout' "$log" | head -120
    fi
}

echo "machine: $(nproc) cores; unit tests 5x with no added load, 3x and e2e tests 2x with two busy loops"
for n in 1 2 3 4 5; do run unit "no added load" "$n"; done
start_load
for n in 1 2 3; do run unit "two busy loops" "$n"; done
for n in 1 2; do run e2e "two busy loops" "$n"; done
stop_load
echo "$runs runs, $((runs - failed)) passed, $failed failed"
[ "$failed" = 0 ]
