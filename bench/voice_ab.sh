#!/usr/bin/env bash
# A/B test of voice package variants made from the same source voice:
# builds every variant of VARIANTS (default bench/voice_variants.txt: one line
# "NAME | import-hts options | vxn-tts options" each), speaks the sentence lists with each and
# with Debian's flite slt voice, recognises all of it with pocketsphinx and
# prints one table per list: WER per variant and of flite slt, with the
# difference to flite slt and its 95% paired bootstrap interval. Spectrogram
# pictures of the first three sentences of the first list, the chosen variant
# (last in VARIANTS, or --pictures NAME) beside flite slt, go to OUT/pictures/.
#   bench/voice_ab.sh [--variants FILE] [--list FILE]... [--out DIR] [--pictures NAME]
# Lists default to bench/asr/everyday.txt and bench/asr/numbers.txt; a list
# X.txt is scored against X.ref.txt when that exists (its spoken form).
# Needs scripts/build.sh and scripts/build-voices.sh to have run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
variants=$root/bench/voice_variants.txt
out=$build/voice-ab
lists=()
pictures=""
while [ $# -gt 0 ]; do
  case $1 in
    --variants) variants=$2; shift 2 ;;
    --list) lists+=("$2"); shift 2 ;;
    --out) out=$2; shift 2 ;;
    --pictures) pictures=$2; shift 2 ;;
    *) echo "voice_ab: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ ${#lists[@]} -gt 0 ] || lists=("$root/bench/asr/everyday.txt" "$root/bench/asr/numbers.txt")
source_voice=$build/voice-src/slt/usr/share/festival/voices/us/cmu_us_slt_arctic_hts/hts/cmu_us_slt_arctic_hts.htsvoice
for need in "$build/bin/vxn-voice" "$build/bin/vxn-tts" "$source_voice"; do
  [ -e "$need" ] || { echo "voice_ab: $need is missing (run scripts/build.sh and scripts/build-voices.sh)" >&2; exit 1; }
done
for tool in flite sox pocketsphinx_batch; do
  command -v $tool >/dev/null || { echo "voice_ab: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
model=/usr/share/pocketsphinx/model/en-us
jobs=$(nproc)

names=()
rm -rf "$out"
mkdir -p "$out/voices" "$out/wav" "$out/hyp" "$out/pictures"
while IFS='|' read -r name options speak_options; do
  name=$(echo "$name" | xargs)
  [ -n "$name" ] && [ "${name#\#}" = "$name" ] || continue
  names+=("$name")
  dir=$out/voices/$name
  mkdir -p "$dir"
  ln -s "$build/voice/Lib" "$dir/Lib"
  ln -s "$build/voice/Data" "$dir/Data"
  echo "$speak_options" >"$dir/speak-options"
  echo "voice_ab: building $name ($options)" >&2
  # shellcheck disable=SC2086
  "$build/bin/vxn-voice" import-hts "$source_voice" --lang-dir EnUS --stem vxnf_usen_24_256 \
    --out "$dir" $options >"$dir/import.txt" 2>"$dir/import.log" ||
    { cat "$dir/import.log" >&2; exit 1; }
done <"$variants"
[ ${#names[@]} -gt 0 ] || { echo "voice_ab: no variants in $variants" >&2; exit 1; }
[ -n "$pictures" ] || pictures=${names[-1]}
whos=("${names[@]}" flite_slt)

# One job per (speaker, list, sentence): speak it and resample to 16 kHz.
speak_one() {  # WHO LIST_NAME INDEX TEXT
  local who=$1 list=$2 i=$3 text=$4 dir=$out/wav/$1/$2
  if [ "$who" = flite_slt ]; then
    flite -voice slt -t "$text" -o "$dir/$i.full.wav"
  else
    # shellcheck disable=SC2046
    "$build/bin/vxn-tts" --voice-dir "$out/voices/$who/" --lang en_US \
      $(cat "$out/voices/$who/speak-options") -o "$dir/$i.full.wav" "$text" 2>/dev/null
  fi
  # -R: repeatable dither, so that two runs of the same audio score the same.
  sox -R "$dir/$i.full.wav" -r 16000 -c 1 -b 16 "$dir/$i.wav" pad 0.3 0.3
}
export -f speak_one
export out build

for list in "${lists[@]}"; do
  lname=$(basename "$list" .txt)
  total=$(grep -c . "$list")
  for who in "${whos[@]}"; do
    mkdir -p "$out/wav/$who/$lname"
    i=0
    : >"$out/wav/$who/$lname/ctl"
    while IFS= read -r line; do
      [ -n "$line" ] || continue
      i=$((i + 1))
      id=$(printf 's%03d' "$i")
      echo "$id" >>"$out/wav/$who/$lname/ctl"
      printf '%s\0%s\0%s\0%s\0' "$who" "$lname" "$id" "$line"
    done <"$list"
  done | xargs -0 -n 4 -P "$jobs" bash -c 'speak_one "$@"' _
  echo "voice_ab: spoke $lname ($total sentences) with ${#whos[@]} voices" >&2
done

# Recognition: one batch run per (speaker, list), two at a time.
export VOICE_AB_OUT=$out VOICE_AB_MODEL=$model
for list in "${lists[@]}"; do
  lname=$(basename "$list" .txt)
  for who in "${whos[@]}"; do
    printf '%s\0%s\0' "$who" "$lname"
  done
done | xargs -0 -n 2 -P "$jobs" sh -c '
  dir="$VOICE_AB_OUT/wav/$0/$1"
  hyp="$VOICE_AB_OUT/hyp/$0.$1.hyp"
  pocketsphinx_batch -adcin yes -adchdr 44 -cepdir "$dir" -cepext .wav -ctl "$dir/ctl" \
    -hyp "$hyp" -hmm "$VOICE_AB_MODEL/en-us" -lm "$VOICE_AB_MODEL/en-us.lm.bin" \
    -dict "$VOICE_AB_MODEL/cmudict-en-us.dict" -logfn /dev/null
  [ -s "$hyp" ] || { echo "voice_ab: recognition of $1 for $0 failed" >&2; exit 1; }
  echo "voice_ab: recognised $1 for $0" >&2'


for list in "${lists[@]}"; do
  lname=$(basename "$list" .txt)
  ref=${list%.txt}.ref.txt
  [ -f "$ref" ] || ref=$list
  args=()
  for who in "${whos[@]}"; do args+=("$who=$out/hyp/$who.$lname.hyp"); done
  echo
  echo "== $lname ($(grep -c . "$list") sentences)"
  python3 "$root/bench/ab_score.py" --reference "$ref" --baseline flite_slt "${args[@]}" |
    tee "$out/$lname.table.txt"
done

# Pictures: the chosen variant beside flite slt, first three sentences of the first list.
first=$(basename "${lists[0]}" .txt)
for i in 1 2 3; do
  id=$(printf 's%03d' "$i")
  text=$(grep . "${lists[0]}" | sed -n "${i}p")
  [ -f "$out/wav/$pictures/$first/$id.full.wav" ] || continue
  "$root/scripts/spectrogram_pair.sh" "$out/wav/$pictures/$first/$id.full.wav" \
    "$out/wav/flite_slt/$first/$id.full.wav" "$out/pictures/$first-$id.png" "$text" \
    "left: VXN voice variant $pictures (24 kHz), right: flite slt (16 kHz)"
done
echo
echo "voice_ab: pictures in $out/pictures/, recognised words in $out/hyp/"
