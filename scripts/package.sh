#!/usr/bin/env bash
# Installs what is missing and builds the Debian package kelvara_<version>_<arch>.deb in
# build-package/ (or the folder given as $BUILD_DIR): a release build without tests and
# benchmarks, packed by CPack with its dependencies taken from the libraries it links.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-package}
"$root/scripts/install-deps.sh"
BUILD_DIR=$build "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release -DKELVARA_TESTS=OFF -DKELVARA_BENCH=OFF
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kelvara_*.deb
