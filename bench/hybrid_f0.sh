#!/usr/bin/env bash
# Pitch range and variability per sentence, basic against hybrid mode, and
# against the stand-in prosody corpus the database was built from. Speaks
# every sentence of a list with vxn-tts in both modes, measures each WAV with
# vxn-voice f0-stats (the database builder's F0 extractor) and prints the
# mean over sentences of the median F0 (Hz), the 5-95 % F0 range and the
# standard deviation of log F0 (semitones), with the same figures for up to
# CORPUS_COUNT recordings of the corpus.
#   bench/hybrid_f0.sh [SENTENCES] [VOICE_DIR]
# Environment: CORPUS_DIR (default build/pd-corpus/wav), CORPUS_COUNT (200).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sentences=${1:-$root/bench/asr/everyday.txt}
voice=${2:-$root/build/voice/}
corpus=${CORPUS_DIR:-$root/build/pd-corpus/wav}
tts=$root/build/bin/vxn-tts
tool=$root/build/bin/vxn-voice
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -f "$voice/Model/EnUS/vxnf_usen_24_256.pd" ]; then
  echo "hybrid_f0: no prosody database in $voice (scripts/build-prosody-db.sh)" >&2
  exit 1
fi
n=0
while IFS= read -r line; do
  [ -n "$line" ] || continue
  n=$((n + 1))
  "$tts" --voice-dir "$voice" -o "$work/basic_$n.wav" "$line" 2>/dev/null
  "$tts" --voice-dir "$voice" --hybrid -o "$work/hybrid_$n.wav" "$line" 2>/dev/null
done <"$sentences"

summary() {  # LABEL FILES...
  local label=$1
  shift
  "$tool" f0-stats "$@" | awk -v who="$label" '
    { n++; med += $5; range += $7; sd += $9 }
    END { printf "%-8s %5d recordings  median F0 %6.1f Hz  range %5.2f st  std %5.2f st\n",
                 who, n, med / n, range / n, sd / n }'
}
echo "sentences: $sentences ($n)"
summary basic "$work"/basic_*.wav
summary hybrid "$work"/hybrid_*.wav
if [ -d "$corpus" ]; then
  mapfile -t files < <(ls "$corpus"/*.wav | head -n "${CORPUS_COUNT:-200}")
  summary corpus "${files[@]}"
else
  echo "corpus   (no recordings in $corpus)"
fi
