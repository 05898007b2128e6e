#!/usr/bin/env bash
# One spectrogram picture of two recordings side by side in time, both at
# 24 kHz so their frequency axes agree (a 16 kHz recording is empty above
# 8 kHz, as it really is):
#   scripts/spectrogram_pair.sh LEFT.wav RIGHT.wav OUT.png [TITLE] [CAPTION]
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 LEFT.wav RIGHT.wav OUT.png [TITLE] [CAPTION]" >&2
  exit 2
fi
left=$1 right=$2 out=$3
title=${4:-"$(basename "$left") | $(basename "$right")"}
caption=${5:-"left: $(basename "$left"), right: $(basename "$right")"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in left right; do
  sox "${!side}" -r 24000 -c 1 -b 16 "$work/$side.wav" norm -3
done
sox -n -r 24000 -c 1 -b 16 "$work/gap.wav" trim 0 0.4
sox "$work/left.wav" "$work/gap.wav" "$work/right.wav" "$work/pair.wav"
sox "$work/pair.wav" -n spectrogram -x 1600 -y 513 -z 80 -t "$title" -c "$caption" -o "$out"
