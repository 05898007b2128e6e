#!/usr/bin/env bash
# Peak resident memory of vxn-tts speaking one sentence with every (language,
# voice index) of tests/data/every_voice.txt, against the default voice
# (en_US 0), so that no language or voice adds more than LIMIT MiB over it.
# Each row runs REPEATS times (memory is nearly deterministic; the smallest
# figure is kept). Speech goes to a file, as a host would stream it.
#   bench/memory_per_voice.sh [BUILD_DIR] [REPEATS] [LIMIT_MIB]
# Prints one line per row and the largest excess; exits 1 when a row exceeds
# LIMIT over the default voice or fails to speak.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
repeats=${2:-3}
limit=${3:-4}
tts=$build/bin/vxn-tts
voice=$build/voice/
labels=$root/tests/data/labels
command -v /usr/bin/time >/dev/null || { echo "memory_per_voice: GNU time is missing (scripts/install-deps.sh)" >&2; exit 2; }
[ -x "$tts" ] || { echo "memory_per_voice: $tts is missing; build first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peak RSS in KiB of one row (smallest of the repeats), or nothing on failure.
peak_kib() {
  local lang=$1 index=$2 what=$3 best= k input
  input=("$what")
  [ "${what:0:1}" = @ ] && input=(--labels "$labels/${what:1}.lab")
  for ((r = 0; r < repeats; r++)); do
    /usr/bin/time -o "$work/t" -f %M "$tts" -q -d "$voice" -l "$lang" -v "$index" \
      -o "$work/a.wav" "${input[@]}" 2>/dev/null || return
    k=$(tail -n 1 "$work/t")
    if [ -z "$best" ] || [ "$k" -lt "$best" ]; then best=$k; fi
  done
  echo "$best"
}

mapfile -t rows < <(grep -v '^#' "$root/tests/data/every_voice.txt")
base=
worst=0
worst_row=
failed=0
printf '%-6s %5s %9s %9s %s\n' lang voice 'peak MiB' '+MiB' 'model files MiB'
for row in "${rows[@]}"; do
  read -r lang index what <<<"$row"
  kib=$(peak_kib "$lang" "$index" "$what")
  if [ -z "$kib" ]; then
    printf '%-6s %5s  failed to speak (voice not built?)\n' "$lang" "$index"
    failed=$((failed + 1))
    continue
  fi
  [ -n "$base" ] || base=$kib
  extra=$(awk -v k="$kib" -v b="$base" 'BEGIN { printf "%.2f", (k - b) / 1024 }')
  files=$("$tts" -d "$voice" --list-voices 2>/dev/null | awk -v l="$lang" -v i="$index" '$1 == l && $2 == i { print $5 }')
  size=$(du -cm "$voice"/Model/"$files".* 2>/dev/null | tail -n 1 | cut -f1)
  printf '%-6s %5s %9.2f %9s %s\n' "$lang" "$index" "$(awk -v k="$kib" 'BEGIN { print k / 1024 }')" \
    "$extra" "${size:-?}"
  if awk -v e="$extra" -v w="$worst" 'BEGIN { exit !(e > w) }'; then
    worst=$extra
    worst_row="$lang $index"
  fi
done
echo "default voice (first row): $(awk -v b="${base:-0}" 'BEGIN { printf "%.2f", b / 1024 }') MiB; largest excess: +$worst MiB (${worst_row:-none}); limit +$limit MiB"
[ "$failed" = 0 ] && awk -v w="$worst" -v l="$limit" 'BEGIN { exit !(w <= l) }'
