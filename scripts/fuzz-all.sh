#!/usr/bin/env bash
# Builds the libFuzzer targets once (clang, build-fuzz/) and runs them one
# after the other, then merges what they found into the repository corpora.
#   scripts/fuzz-all.sh [SECONDS_EACH|short] [TARGET[=SECONDS]...]
# SECONDS_EACH defaults to 60; "short" is a smoke run of 10 s a target that
# leaves fuzz/corpus/ alone. Without TARGETs every built target runs; a
# TARGET=SECONDS gives that target its own time.
#
# Each target fuzzes its scratch corpus build-fuzz/corpus-TARGET/ (kept
# between runs) together with fuzz/corpus/TARGET/. Crash, leak, timeout and
# out-of-memory inputs go to build-fuzz/artifacts/TARGET/. At the end the
# scratch inputs of at most VXN_FUZZ_MAX_LEN bytes (4096) that reach edges
# the repository corpus does not are merged into it (libFuzzer -merge=1 with
# -use_counters=0, so hit counts do not count as new; VXN_FUZZ_MERGE=0
# skips this). A table is printed, and a line per target
# is appended to build-fuzz/fuzz-results.tsv, so runs add up. Exits 1 when a
# target crashed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/fuzz.sh"

seconds=${1:-60}
merge=${VXN_FUZZ_MERGE:-1}
if [ "$seconds" = short ]; then
  seconds=10
  merge=${VXN_FUZZ_MERGE:-0}
fi
case $seconds in
  '' | *[!0-9]*) echo "usage: scripts/fuzz-all.sh [SECONDS_EACH|short] [TARGET[=SECONDS]...]" >&2; exit 2 ;;
esac
shift $(( $# > 0 ? 1 : 0 ))
max_len=${VXN_FUZZ_MAX_LEN:-4096}
timeout=${VXN_FUZZ_TIMEOUT:-25}
# Undefined behaviour stops the run like a crash, so it leaves an artifact.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

vxn_fuzz_build

declare -a targets=() times=()
built=$(vxn_fuzz_targets)
if [ $# -eq 0 ]; then
  for t in $built; do targets+=("$t"); times+=("$seconds"); done
else
  for arg in "$@"; do
    t=${arg%%=*}
    s=$seconds
    [ "$t" = "$arg" ] || s=${arg#*=}
    if ! grep -qx -- "$t" <<<"$built"; then
      echo "fuzz-all: no target $t in $BUILD_DIR/fuzz" >&2
      exit 2
    fi
    targets+=("$t")
    times+=("$s")
  done
fi

results=$BUILD_DIR/fuzz-results.tsv
[ -s "$results" ] ||
  printf 'date\tcommit\ttarget\tseconds\texecutions\tcov\tft\tcorpus_files\tcrashes\texit\n' >"$results"
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo -)
table=$(mktemp)
trap 'rm -f "$table"' EXIT
n=${#targets[@]}
failed=0

for i in "${!targets[@]}"; do
  t=${targets[$i]}
  s=${times[$i]}
  artifacts=$BUILD_DIR/artifacts/$t
  mkdir -p "$artifacts"
  marker=$BUILD_DIR/artifacts/.start-$t
  touch "$marker"
  log=$BUILD_DIR/fuzz-$t.log
  start=$(date +%s)
  status=0
  vxn_fuzz_run "$t" "$s" "$log" "[$((i + 1))/$n] $t" -timeout="$timeout" -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 || status=$?
  ran=$(( $(date +%s) - start ))
  crashes=$(find "$artifacts" -maxdepth 1 -type f -newer "$marker" \
    \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  rm -f "$marker"
  read -r runs cov ft corp <<<"$(vxn_fuzz_stats "$log")"
  if [ "$status" -ne 0 ] || [ "$crashes" -gt 0 ]; then
    failed=1
    [ "$crashes" -gt 0 ] || crashes=1
    echo "fuzz-all: $t stopped with status $status; see $log and $artifacts/" >&2
    grep -a -m 3 -E '^==[0-9]+==ERROR|runtime error:|ERROR: libFuzzer' "$log" >&2 || true
  fi
  echo "fuzz-all: [$((i + 1))/$n] $t: $ran s, $runs runs, cov $cov ft $ft, $corp inputs, $crashes crashes" >&2
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%Y-%m-%dT%H:%M:%SZ)" "$commit" "$t" \
    "$ran" "$runs" "$cov" "$ft" "$corp" "$crashes" "$status" >>"$results"
  printf '%s %s %s %s %s %s %s\n' "$t" "$ran" "$runs" "$cov" "$ft" "$corp" "$crashes" >>"$table"
done

# Merge: only inputs that reach new code go into the repository corpus.
declare -A added=()
if [ "$merge" = 1 ]; then
  total_bytes=0
  for i in "${!targets[@]}"; do
    t=${targets[$i]}
    vxn_progress "merging" "$i" "$n" targets
    corpus=$root/fuzz/corpus/$t
    mkdir -p "$corpus"
    before=$(find "$corpus" -maxdepth 1 -type f | wc -l)
    bytes_before=$(du -sb "$corpus" | cut -f1)
    small=$(mktemp -d "$BUILD_DIR/merge-$t.XXXXXX")
    find "$BUILD_DIR/corpus-$t" -maxdepth 1 -type f -size -"$((max_len + 1))"c \
      -exec ln -f {} "$small/" \; 2>/dev/null || true
    "$BUILD_DIR/fuzz/$t" -merge=1 -use_counters=0 -max_len="$max_len" -timeout="$timeout" -rss_limit_mb=2048 \
      -artifact_prefix="$BUILD_DIR/artifacts/$t/" "$corpus" "$small" >"$BUILD_DIR/merge-$t.log" 2>&1 ||
      echo "fuzz-all: merging $t failed, see $BUILD_DIR/merge-$t.log" >&2
    rm -rf "$small"
    added[$t]=$(( $(find "$corpus" -maxdepth 1 -type f | wc -l) - before ))
    total_bytes=$(( total_bytes + $(du -sb "$corpus" | cut -f1) - bytes_before ))
  done
  vxn_progress "merging" "$n" "$n" targets
  vxn_progress_end
  echo "fuzz-all: merged $total_bytes bytes into fuzz/corpus/" >&2
fi

printf '\n%-24s %8s %12s %7s %8s %8s %7s %8s\n' target seconds executions cov ft corpus added crashes
while read -r t ran runs cov ft corp crashes; do
  printf '%-24s %8s %12s %7s %8s %8s %7s %8s\n' "$t" "$ran" "$runs" "$cov" "$ft" "$corp" \
    "${added[$t]:--}" "$crashes"
done <"$table"
echo "results appended to $results"
exit "$failed"
