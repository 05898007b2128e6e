#!/usr/bin/env bash
# Sets everything up and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
"$root/scripts/build-voices.sh"
build=${BUILD_DIR:-$root/build}
cd "$build"
ctest --output-on-failure -j "$(nproc)"
