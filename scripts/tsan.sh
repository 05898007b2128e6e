#!/usr/bin/env bash
# Builds the library, the language modules and the side-by-side engines
# program with ThreadSanitizer into build-tsan/ and runs the program there on
# the voices of build/ (scripts/build-voices.sh; the hybrid job joins when
# build/pd-short holds a prosody database, scripts/build-prosody-db.sh --short).
#   scripts/tsan.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
tsan=$root/build-tsan
"$root/scripts/install-deps.sh"
if [ ! -d "$build/voice/Model" ]; then
  "$root/scripts/build.sh"
  "$root/scripts/build-voices.sh"
fi
cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXN_TSAN=ON -DVXN_BUILD_BENCH=OFF >/dev/null
modules=$(cmake --build "$tsan" --target help | sed -n 's/^\.\.\. \(VXN_lang_[a-z]*\).*/\1/p' | sort -u)
cmake --build "$tsan" -j "$(nproc)" --target parallel_engines $modules
# A voice directory of links: models and data from the normal build, the
# instrumented modules from this one.
voice=$tsan/voice-links
rm -rf "$voice"
mkdir -p "$voice"
ln -s "$build/voice/Model" "$voice/Model"
ln -s "$build/voice/Data" "$voice/Data"
ln -s "$tsan/voice/Lib" "$voice/Lib"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  "$tsan/tests/api/parallel_engines" "$voice/" "$build/pd-short/vxnf_usen_24_256.pd" "${1:-2}"
