#!/usr/bin/env bash
# Configures and builds the project into build/ (BUILD_DIR overrides it).
# Extra arguments go to cmake's configure step, e.g. -DVXN_SANITIZE=ON.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
