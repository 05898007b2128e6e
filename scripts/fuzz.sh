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
# The fuzzer's own status lines go to a log; a time bar shows the run, and
# the log's last lines are printed at the end.
. "$root/scripts/lib/progress.sh"
log=$BUILD_DIR/fuzz-$target.log
"$BUILD_DIR/fuzz/$target" -max_total_time="$seconds" "$BUILD_DIR/corpus-$target" \
  $( [ -d "$corpus" ] && echo "$corpus" ) >"$log" 2>&1 &
pid=$!
start=$(date +%s)
step=$(( seconds / 20 > 0 ? seconds / 20 : 1 ))
while kill -0 "$pid" 2>/dev/null; do
  vxn_progress "fuzzing $target" $(( $(date +%s) - start )) "$seconds" s
  for _ in $(seq "$step"); do kill -0 "$pid" 2>/dev/null && sleep 1; done
done
status=0
wait "$pid" || status=$?
vxn_progress "fuzzing $target" "$seconds" "$seconds" s
vxn_progress_end
tail -n 15 "$log"
echo "fuzz: $target exited with $status (full log: $log)"
exit "$status"
