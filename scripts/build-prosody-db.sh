#!/usr/bin/env bash
# Builds the hybrid prosody database of the US English female voice from a
# stand-in corpus: sentences from Jane Austen's novels (public domain; taken
# from the Debian package r-cran-janeaustenr, fetched with apt-get download),
# spoken by Debian's flite with its slt voice (a statistical voice trained on
# the CMU ARCTIC slt recordings, the speaker of our default voice), labelled
# by our own front end and timed by the segment times flite reports for its
# audio. A TV maker builds the database of its own speaker with the same
# vxn-voice build-pd command from its recordings and their timed labels.
#
#   scripts/build-prosody-db.sh            full corpus (about 35 minutes) into
#                                          build/voice/Model/EnUS/vxnf_usen_24_256.pd
#   scripts/build-prosody-db.sh --short    the 12 sentences of tests/data/prosody_sentences.txt
#                                          into build/pd-short/ (for the tests; seconds)
# Environment: BUILD_DIR (default build/), VXN_PD_SENTENCES (full corpus size, default 3000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
short=0
[ "${1:-}" = "--short" ] && short=1
voice=$build/voice
stem=vxnf_usen_24_256
for tool in vxn-voice vxn-corpus-labels; do
  if [ ! -x "$build/bin/$tool" ]; then
    echo "build-prosody-db: $build/bin/$tool is missing; build the tools first (scripts/build.sh)" >&2
    exit 1
  fi
done
if [ ! -f "$voice/Model/EnUS/$stem.am" ] || [ ! -f "$voice/Lib/libVXN_lang_usen.so" ]; then
  echo "build-prosody-db: no US English voice in $voice; run scripts/build-voices.sh first" >&2
  exit 1
fi
command -v flite >/dev/null || { echo "build-prosody-db: flite is missing (scripts/install-deps.sh)" >&2; exit 1; }

if [ "$short" = 1 ]; then
  work=$build/pd-short
  out=$work/$stem.pd
  rm -rf "$work"
  mkdir -p "$work"
  cp "$root/tests/data/prosody_sentences.txt" "$work/sentences.txt"
else
  work=$build/pd-corpus
  out=$voice/Model/EnUS/$stem.pd
  src=$build/pd-src
  mkdir -p "$work" "$src"
  pkg=r-cran-janeaustenr
  deb=$(ls "$src/${pkg}"_*.deb 2>/dev/null | tail -n 1 || true)
  if [ -z "$deb" ]; then
    echo "build-prosody-db: fetching $pkg"
    (cd "$src" && apt-get download "$pkg" >/dev/null)
    deb=$(ls "$src/${pkg}"_*.deb | tail -n 1)
  fi
  rm -rf "$src/tree"
  dpkg -x "$deb" "$src/tree"
  python3 "$root/scripts/prosody-corpus-text.py" \
    "$src/tree/usr/lib/R/site-library/janeaustenr/data/Rdata.rdb" "${VXN_PD_SENTENCES:-3000}" \
    >"$work/sentences.new"
  # Recordings are kept between runs only while they are of the same sentences.
  if ! cmp -s "$work/sentences.new" "$work/sentences.txt"; then rm -rf "$work/wav" "$work/seg"; fi
  mv "$work/sentences.new" "$work/sentences.txt"
fi
rm -rf "$work/lab"
mkdir -p "$work/wav" "$work/seg" "$work/lab"
total=$(grep -c . "$work/sentences.txt")
n=0
while IFS= read -r line; do
  [ -n "$line" ] || continue
  n=$((n + 1))
  id=$(printf %05d "$n")
  if [ ! -s "$work/seg/$id.seg" ] || [ ! -s "$work/wav/$id.wav" ]; then
    flite -voice slt -psdur -t "$line" -o "$work/wav/$id.wav" >"$work/seg/$id.seg"
  fi
  if [ $((n % 100)) = 0 ]; then echo "build-prosody-db: flite $n/$total sentences"; fi
done <"$work/sentences.txt"
echo "build-prosody-db: labelling $total sentences"
(cd "$work" && "$build/bin/vxn-corpus-labels" --voice-dir "$voice" --text sentences.txt \
  --segments seg --wav wav --out lab --list list.txt) | tee "$work/labels.txt"
echo "build-prosody-db: building $out"
mkdir -p "$(dirname "$out")"
"$build/bin/vxn-voice" build-pd --list "$work/list.txt" --out "$out" --report "$work/report.txt" \
  $([ "$short" = 1 ] && echo --quiet)
{
  echo "hybrid prosody database $stem.pd"
  echo "built by scripts/build-prosody-db.sh$([ "$short" = 1 ] && echo " --short") on $(date -u +%Y-%m-%d)"
  if [ "$short" = 1 ]; then
    echo "text: tests/data/prosody_sentences.txt (written for the project's tests)"
  else
    echo "text: sentences from Jane Austen's novels (public domain), Debian package r-cran-janeaustenr"
  fi
  echo "speech: $(flite --version 2>&1 | grep -o 'flite-[^ ]*' | head -n 1), voice slt (Debian package flite;"
  echo "  CMU Flite and its cmu_us_slt voice: BSD-style licence of Carnegie Mellon University, see"
  echo "  /usr/share/doc/libflite1/copyright; the voice is trained on the CMU ARCTIC slt recordings)"
  echo "labels: this engine's US English front end, timed by flite's segment times"
  echo
  cat "$work/labels.txt"
  cat "$work/report.txt"
} >"$out.txt"
{
  echo "== flite (speech of the corpus): /usr/share/doc/libflite1/copyright"
  cat /usr/share/doc/libflite1/copyright
  if [ "$short" = 0 ]; then
    echo
    echo "== r-cran-janeaustenr (text of the corpus; the novels are in the public domain)"
    cat "$src/tree/usr/share/doc/r-cran-janeaustenr/copyright"
  fi
} >"$out.COPYRIGHT"
echo "build-prosody-db: wrote $out (report in $out.txt, licences in $out.COPYRIGHT)"
