#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs one of them:
#   scripts/fuzz.sh TARGET [SECONDS]
# (scripts/fuzz-all.sh runs them all and merges what they find.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/fuzz.sh"
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
vxn_fuzz_build
# The fuzzer's own status lines go to a log; a time bar shows the run, and
# the log's last lines are printed at the end.
log=$BUILD_DIR/fuzz-$target.log
status=0
vxn_fuzz_run "$target" "$seconds" "$log" "fuzzing $target" || status=$?
tail -n 15 "$log"
echo "fuzz: $target exited with $status (full log: $log)"
exit "$status"
