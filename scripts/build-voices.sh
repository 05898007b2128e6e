#!/usr/bin/env bash
# Lays out the default voice directory build/voice/ (Model/, Lib/, Data/) and
# builds the US English female voice Model/EnUS/vxnf_usen_24_256.{qt,pt,am,dt}
# from the open HMM voice of the Debian package festvox-us-slt-hts, which is
# fetched once with apt-get download into build/voice-src/ (never installed).
# Voices are build outputs, never committed. Skips work that is up to date.
# Trained voices (Russian voice 1 from festvox-ru) are built by the separate,
# long scripts/train-voices.sh.
#   BUILD_DIR       build tree (default: build/)
#   VXN_VOICE_TOOL  the vxn-voice program (default: $BUILD_DIR/bin/vxn-voice)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
voice=$build/voice
mkdir -p "$voice/Model" "$voice/Lib" "$voice/Data"
echo "build-voices: voice directory $voice"
. "$root/scripts/lib/progress.sh"

tool=${VXN_VOICE_TOOL:-$build/bin/vxn-voice}
if [ ! -x "$tool" ]; then
  echo "build-voices: $tool is missing; build the tools first (scripts/build.sh)" >&2
  exit 1
fi

pkg=festvox-us-slt-hts
src=$build/voice-src
mkdir -p "$src"
deb=$(ls "$src/${pkg}"_*.deb 2>/dev/null | tail -n 1 || true)
vxn_progress "build-voices: $pkg" 0 3 steps
if [ -z "$deb" ]; then
  echo "build-voices: fetching $pkg"
  # apt-get download writes into the current directory.
  if ! (cd "$src" && apt-get download "$pkg" >/dev/null 2>"$src/apt.log"); then
    cat "$src/apt.log" >&2
    echo "build-voices: cannot fetch $pkg (apt-get download failed)" >&2
    exit 1
  fi
  deb=$(ls "$src/${pkg}"_*.deb | tail -n 1)
fi

vxn_progress "build-voices: $pkg" 1 3 steps
tree=$src/slt
htsvoice=$tree/usr/share/festival/voices/us/cmu_us_slt_arctic_hts/hts/cmu_us_slt_arctic_hts.htsvoice
if [ ! -f "$htsvoice" ] || [ "$deb" -nt "$htsvoice" ]; then
  rm -rf "$tree"
  dpkg -x "$deb" "$tree"
  touch "$htsvoice"
fi

out=$voice/Model/EnUS
stem=vxnf_usen_24_256
up_to_date=1
for ext in qt pt am dt info; do
  f=$out/$stem.$ext
  if [ ! -f "$f" ] || [ "$htsvoice" -nt "$f" ] || [ "$tool" -nt "$f" ]; then up_to_date=0; fi
done
if [ "$up_to_date" = 1 ]; then
  echo "build-voices: $out/$stem is up to date"
  exit 0
fi

vxn_progress "build-voices: $pkg" 2 3 steps
mkdir -p "$out"
log=$out/$stem.import.txt
echo "build-voices: importing $(basename "$htsvoice") into $out/$stem"
# Half-written packages never look up to date: remove them first.
rm -f "$out/$stem".{qt,pt,am,dt,info}
if ! "$tool" import-hts "$htsvoice" --lang-dir EnUS --stem "$stem" --out "$voice" >"$log"; then
  cat "$log" >&2
  rm -f "$out/$stem".{qt,pt,am,dt}
  echo "build-voices: import failed" >&2
  exit 1
fi
cp "$tree/usr/share/doc/$pkg/copyright" "$out/$stem.COPYRIGHT"
version=$(dpkg-deb -f "$deb" Version)
cat >"$out/$stem.info" <<INFO
language: en_US
index: 0
stem: $stem
kind: imported
source: Debian $pkg $version (CMU ARCTIC slt HMM voice), converted by vxn-voice import-hts
licence: EST-2003, EST-2000 and BSD-3-clause (Carnegie Mellon University, Nagoya Institute of Technology), see $stem.COPYRIGHT
INFO
vxn_progress "build-voices: $pkg" 3 3 steps
vxn_progress_end
grep -E '^(spectral map|quantisation|  [0-9d]|check)' "$log" || true
echo "build-voices: wrote $out/$stem.{qt,pt,am,dt} (report in $log)"
