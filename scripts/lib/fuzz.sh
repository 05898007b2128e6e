# The libFuzzer build and runs shared by scripts/fuzz.sh and
# scripts/fuzz-all.sh (source this file after setting root).
#   vxn_fuzz_build                 builds every target with clang into $BUILD_DIR
#   vxn_fuzz_targets               names of the built targets, one a line
#   vxn_fuzz_run TARGET SECONDS LOG LABEL [LIBFUZZER_OPTION...]
#                                  runs TARGET on its scratch corpus in $BUILD_DIR and
#                                  its repository corpus, with a time bar; returns
#                                  the fuzzer's exit status
#   vxn_fuzz_stats LOG             "EXECUTIONS COV FT CORPUS_FILES" of the last
#                                  libFuzzer status line in LOG ("- - - -" if none)
. "$root/scripts/lib/progress.sh"
export BUILD_DIR=${BUILD_DIR:-$root/build-fuzz}

vxn_fuzz_build() {
  VXN_FUZZ=1 "$root/scripts/install-deps.sh"
  CC=clang CXX=clang++ "$root/scripts/build.sh" -DVXN_FUZZ=ON -DVXN_BUILD_TESTS=OFF \
    -DVXN_BUILD_BENCH=OFF -DVXN_BUILD_TOOLS=OFF
}

vxn_fuzz_targets() {
  local f
  for f in "$BUILD_DIR"/fuzz/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] && basename "$f"
  done
}

vxn_fuzz_run() {
  local target=$1 seconds=$2 log=$3 label=$4
  shift 4
  local corpus=$root/fuzz/corpus/$target
  mkdir -p "$BUILD_DIR/corpus-$target"
  # New inputs go to the first directory, the scratch corpus; the repository
  # corpus is only read here.
  "$BUILD_DIR/fuzz/$target" -max_total_time="$seconds" "$@" "$BUILD_DIR/corpus-$target" \
    $( [ -d "$corpus" ] && echo "$corpus" ) >"$log" 2>&1 &
  local pid=$! start
  start=$(date +%s)
  # A redrawn bar moves in twentieths; a log gets a line a quarter.
  local parts=20
  [ -t 2 ] || parts=4
  local step=$(( seconds / parts > 0 ? seconds / parts : 1 ))
  while kill -0 "$pid" 2>/dev/null; do
    vxn_progress "$label" $(( $(date +%s) - start )) "$seconds" s
    for _ in $(seq "$step"); do kill -0 "$pid" 2>/dev/null && sleep 1; done
    [ $(( $(date +%s) - start )) -lt "$seconds" ] || break
  done
  local status=0
  wait "$pid" || status=$?
  vxn_progress "$label" "$seconds" "$seconds" s
  vxn_progress_end
  return "$status"
}

vxn_fuzz_stats() {
  local line runs
  line=$(grep -a -E '^#[0-9]+.*cov: [0-9]+' "$1" | tail -n 1 || true)
  if [ -z "$line" ]; then
    echo "- - - -"
    return
  fi
  runs=$(grep -a -E '^Done [0-9]+ runs' "$1" | tail -n 1 | awk '{print $2}' || true)
  [ -n "$runs" ] || runs=$(echo "$line" | sed -E 's/^#([0-9]+).*/\1/')
  echo "$runs" \
    "$(echo "$line" | sed -E 's/.* cov: ([0-9]+).*/\1/')" \
    "$(echo "$line" | sed -E 's/.* ft: ([0-9]+).*/\1/; t; s/.*/-/')" \
    "$(echo "$line" | sed -E 's/.* corp: ([0-9]+).*/\1/; t; s/.*/-/')"
}
