#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs the whole test suite there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=$root/build-asan
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DVXN_SANITIZE=ON -DVXN_BUILD_BENCH=OFF
"$root/scripts/build-voices.sh"
cd "$BUILD_DIR"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$(nproc)"
