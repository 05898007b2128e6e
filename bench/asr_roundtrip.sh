#!/usr/bin/env bash
# ASR round trip: speaks every sentence of a list with our engine and with
# Debian's flite, recognises each WAV with pocketsphinx (US English model) and
# reports the word error rate of both. The reference words are SENTENCES
# itself, or SENTENCES with .txt replaced by .ref.txt when that file exists
# (the spoken form of lines written with digits, times and prices).
#   [VXN_LANG=en_GB] bench/asr_roundtrip.sh [SENTENCES] [VOICE_DIR] [VOICE_INDEX]
# VXN_LANG picks the engine's language (default en_US); flite and the
# recogniser stay US English.
# VXN_TTS_FLAGS adds options to every vxn-tts call (for example --hybrid).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sentences=${1:-$root/bench/asr/everyday.txt}
voice=${2:-$root/build/voice/}
index=${3:-0}
reference=${sentences%.txt}.ref.txt
[ -f "$reference" ] || reference=$sentences
tts=$root/build/bin/vxn-tts
model=/usr/share/pocketsphinx/model/en-us
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

recognise() {  # WAV -> one line of words
  sox "$1" -r 16000 -c 1 -b 16 "$work/16k.wav" pad 0.3 0.3
  pocketsphinx_continuous -hmm "$model/en-us" -lm "$model/en-us.lm.bin" \
    -dict "$model/cmudict-en-us.dict" -infile "$work/16k.wav" -logfn /dev/null 2>/dev/null |
    tr '\n' ' '
  echo
}

: >"$work/vxn.txt"
: >"$work/flite_kal.txt"
: >"$work/flite_slt.txt"
while IFS= read -r line; do
  [ -n "$line" ] || continue
  # shellcheck disable=SC2086
  "$tts" ${VXN_TTS_FLAGS:-} --voice-dir "$voice" --lang "${VXN_LANG:-en_US}" --voice "$index" \
    -o "$work/vxn.wav" "$line" 2>/dev/null
  recognise "$work/vxn.wav" >>"$work/vxn.txt"
  flite -t "$line" -o "$work/f.wav"
  recognise "$work/f.wav" >>"$work/flite_kal.txt"
  flite -voice slt -t "$line" -o "$work/f.wav"
  recognise "$work/f.wav" >>"$work/flite_slt.txt"
done <"$sentences"

for who in vxn flite_kal flite_slt; do
  echo "== $who"
  python3 "$root/bench/wer.py" "$reference" "$work/$who.txt" | tail -n "${VERBOSE_LINES:-1}"
done
