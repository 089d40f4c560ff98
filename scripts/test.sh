#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests on the offscreen platform
# and the real-window tests (label e2e) under Xvfb, one at a time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j"$(nproc)"
