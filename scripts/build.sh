#!/usr/bin/env bash
# Configures and builds Kelvara into build/ (or the folder given as $BUILD_DIR) and assembles the
# program folder build/Kelvara/. Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)"
