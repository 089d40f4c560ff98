#!/usr/bin/env bash
# Installs what is missing, builds, installs Kelvara into build/install/ and starts it from there.
# The installed program keeps the user's tabs and settings in ~/.local/share/kelvara (or
# $XDG_DATA_HOME/kelvara), so they survive rebuilds and a deleted build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cmake --install "$build" --prefix "$build/install" >/dev/null
exec "$build/install/bin/kelvara" "$@"
