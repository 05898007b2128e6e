#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs one of them:
#   scripts/fuzz.sh TARGET [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=$root/build-fuzz
VXN_FUZZ=1 "$root/scripts/install-deps.sh"
CC=clang CXX=clang++ "$root/scripts/build.sh" -DVXN_FUZZ=ON -DVXN_BUILD_TESTS=OFF \
  -DVXN_BUILD_BENCH=OFF -DVXN_BUILD_TOOLS=OFF
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
corpus=$root/fuzz/corpus/$target
mkdir -p "$BUILD_DIR/corpus-$target"
"$BUILD_DIR/fuzz/$target" -max_total_time="$seconds" "$BUILD_DIR/corpus-$target" \
  $( [ -d "$corpus" ] && echo "$corpus" )
