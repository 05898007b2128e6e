#!/usr/bin/env bash
# Where the programme-guide list's extra errors come from. Runs the ASR round
# trip (bench/asr_roundtrip.sh) on three lists:
#   everyday   plain everyday sentences (bench/asr/everyday.txt)
#   guide      programme-guide text as it comes from guides and menus, with
#              curly quotes, accents, addresses, codes (bench/asr/guide.txt)
#   spoken     the same guide sentences written out as they are said
#              (bench/asr/guide.ref.txt: "w w w dot example dot com")
# and splits the gap guide - everyday into
#   reading    guide - spoken: what reading the written forms costs (typography,
#              accents, addresses, numbers, abbreviations)
#   content    spoken - everyday: what the words themselves cost the
#              recogniser (names, letters, codes that its language model
#              rarely sees), whoever says them.
# The same split for flite's slt voice (the same speaker) is printed beside.
#   bench/asr_guide_gap.sh [VOICE_DIR] [VOICE_INDEX]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
voice=${1:-$root/build/voice/}
index=${2:-0}
asr=$root/bench/asr

# Prints "VXN_WER SLT_WER" for one list.
wers() {
  "$root/bench/asr_roundtrip.sh" "$1" "$voice" "$index" |
    awk '/^== /{who=$2} /^WER /{sub("%","",$2); w[who]=$2} END{print w["vxn"], w["flite_slt"]}'
}

echo "asr_guide_gap: everyday list" >&2
read -r vxn_every slt_every < <(wers "$asr/everyday.txt")
echo "asr_guide_gap: guide list" >&2
read -r vxn_guide slt_guide < <(wers "$asr/guide.txt")
echo "asr_guide_gap: guide list written as said" >&2
read -r vxn_spoken slt_spoken < <(wers "$asr/guide.ref.txt")

awk -v ve="$vxn_every" -v vg="$vxn_guide" -v vs="$vxn_spoken" \
    -v se="$slt_every" -v sg="$slt_guide" -v ss="$slt_spoken" 'BEGIN{
  printf "%-38s %8s %10s\n", "WER (%)", "vxn", "flite slt"
  printf "%-38s %8.1f %10.1f\n", "everyday", ve, se
  printf "%-38s %8.1f %10.1f\n", "guide", vg, sg
  printf "%-38s %8.1f %10.1f\n", "guide written as said", vs, ss
  printf "%-38s %+8.1f %+10.1f\n", "gap: guide - everyday", vg - ve, sg - se
  printf "%-38s %+8.1f %+10.1f\n", "  reading: guide - written as said", vg - vs, sg - ss
  printf "%-38s %+8.1f %+10.1f\n", "  content: written as said - everyday", vs - ve, ss - se
}'
