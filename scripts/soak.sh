#!/usr/bin/env bash
# Runs vxn-soak, the create-speak-free cycles through the shared library.
#   scripts/soak.sh [--long|--short] [--asan|--valgrind] [vxn-soak options...]
#     --short     the short mode of the test suite (the default)
#     --long      cycles for an hour (override with --seconds S or --cycles N)
#     --asan      the AddressSanitizer build in build-asan/ (scripts/sanitize.sh
#                 builds it); leaks are reported at exit
#     --valgrind  under memcheck, with a full leak check; any error or
#                 definite/indirect leak fails the run. Memcheck is about fifty
#                 times slower: the short mode walks the languages twice.
#   BUILD_DIR   build tree of the plain run (default: build/); the voice
#               directory is the build tree's voice/ unless --voice-dir is given
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=short
tool=plain
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --long) mode=long; shift ;;
    --short) mode=short; shift ;;
    --asan) tool=asan; shift ;;
    --valgrind) tool=valgrind; shift ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    *) extra+=("$1"); shift ;;
  esac
done

if [ "$tool" = asan ]; then
  build=$root/build-asan
else
  build=${BUILD_DIR:-$root/build}
fi
soak=$build/bench/vxn-soak
if [ ! -x "$soak" ]; then
  echo "soak.sh: $soak is missing; build the tests first (scripts/build.sh, or scripts/sanitize.sh for --asan)" >&2
  exit 2
fi
args=(--voice-dir "$build/voice/")
if [ "$mode" = long ]; then
  args+=(--seconds 3600 --report-every 60)
else
  args+=(--short)
fi

case "$tool" in
  plain)
    exec "$soak" "${args[@]}" "${extra[@]}" ;;
  asan)
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=use_tls=0:suppressions=$root/scripts/lsan.supp \
      UBSAN_OPTIONS=print_stacktrace=1 exec "$soak" "${args[@]}" "${extra[@]}" ;;
  valgrind)
    command -v valgrind >/dev/null || "$root/scripts/install-deps.sh"
    # Resident memory under memcheck is the tool's, not the engine's: no bound.
    if [ "$mode" = short ]; then args=(--voice-dir "$build/voice/" --cycles 36); fi
    exec valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite,indirect \
      --error-exitcode=9 --suppressions="$root/scripts/valgrind.supp" "$soak" "${args[@]}" --rss-bound 100000 --stop-lag 20000 "${extra[@]}" ;;
esac
