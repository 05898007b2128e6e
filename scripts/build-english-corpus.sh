#!/usr/bin/env bash
# Builds the English development corpus for the voice trainer: a few hundred
# sentences (the licence texts every Debian system carries in
# /usr/share/common-licenses, and the everyday and number sentences of the
# ASR round trip) spoken by the default voice with
# `vxn-voice speak-corpus` into build/corpus/en_US/: wav/, labels/ (our
# full-context labels with the engine's timing), reference/ (the voice's own
# generated parameters) and etc/txt.done.data. Skips the work when the corpus
# is newer than the voice and the tool.
#   BUILD_DIR       build tree (default: build/)
#   VXN_VOICE_TOOL  the vxn-voice program (default: $BUILD_DIR/bin/vxn-voice)
#   VXN_CORPUS_SENTENCES  at most this many sentences (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
tool=${VXN_VOICE_TOOL:-$build/bin/vxn-voice}
voice=$build/voice
out=$build/corpus/en_US
if [ ! -f "$voice/Model/EnUS/vxnf_usen_24_256.am" ]; then
  echo "build-english-corpus: the default voice is missing; run scripts/build-voices.sh" >&2
  exit 1
fi
if [ -f "$out/etc/txt.done.data" ] && [ "$out/etc/txt.done.data" -nt "$tool" ] &&
   [ "$out/etc/txt.done.data" -nt "$voice/Model/EnUS/vxnf_usen_24_256.am" ]; then
  echo "build-english-corpus: $out is up to date"
  exit 0
fi
licences=/usr/share/common-licenses
sentences=$build/corpus/en_US.sentences.txt
mkdir -p "$build/corpus"
{
  # Sentences of 5 to 22 words made of letters and light punctuation.
  for f in GPL-3 GPL-2 Apache-2.0 MPL-2.0 MPL-1.1 LGPL-2.1 Artistic GFDL-1.3 CC0-1.0; do
    [ -f "$licences/$f" ] && cat "$licences/$f"
  done | tr '\n' ' ' |
    awk 'BEGIN { RS = "[.;:?!] " }
         { gsub(/[ \t]+/, " "); sub(/^ /, ""); n = split($0, w, " ")
           if (n >= 5 && n <= 22 && $0 ~ /^[A-Z][A-Za-z ,()'"'"'-]*$/ && !seen[$0]++) print $0 "." }'
  cat "$root/bench/asr/everyday.txt" "$root/bench/asr/numbers.txt"
} | head -n "${VXN_CORPUS_SENTENCES:-100000}" > "$sentences"
echo "build-english-corpus: speaking $(wc -l < "$sentences") sentences into $out"
rm -rf "$out"
"$tool" speak-corpus --voice-dir "$voice" --lang 1 "$sentences" "$out"
