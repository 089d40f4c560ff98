#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests on the offscreen platform
# and the real-window tests (label e2e) under Xvfb, one at a time. First the unit tests run in a
# second build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), where any
# report fails the run; KELVARA_SANITIZE=0 skips that pass.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

if [ "${KELVARA_SANITIZE:-1}" = 1 ]; then
    asan=${ASAN_BUILD_DIR:-$root/build-asan}
    BUILD_DIR=$asan "$root/scripts/build.sh" -DKELVARA_SANITIZE=ON -DKELVARA_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
    (cd "$asan" && ctest --output-on-failure -j"$(nproc)" -LE e2e)
    unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
fi

"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)"
