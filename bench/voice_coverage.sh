#!/usr/bin/env bash
# Per voice package of build/voice: the share of labels that reach every
# leaf through translated questions rather than a default answer
# (vxn-voice coverage). A language with a front end is measured on the labels
# it writes for SENTENCES (default: bench/asr/*.txt); the others on the labels
# written by hand in tests/data/labels/<lang>.lab.
#   bench/voice_coverage.sh [SENTENCES...]
# The languages of the European module kit, Korean and Chinese are measured on the inputs of
# their golden cases.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
voice=$build/voice
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ $# -gt 0 ] || set -- "$root"/bench/asr/everyday.txt "$root"/bench/asr/numbers.txt
# language code -> language id, the front end's 8-bit encoding and the
# hand-written label file
declare -A ids=([ko_KR]=0 [zh_CN]=9 [en_US]=1 [en_GB]=2 [en_AU]=3 [de_DE]=4 [fr_FR]=5 [es_ES]=6 [it_IT]=7 [nl_NL]=8
  [pt_BR]=10 [pl_PL]=11 [ru_RU]=12 [da_DK]=13 [sv_SE]=14 [fi_FI]=15 [nb_NO]=16 [pt_PT]=17)
declare -A charset=([pl_PL]=ISO-8859-2 [ru_RU]=ISO-8859-5 [ko_KR]=EUC-KR [zh_CN]=UTF-8)
declare -A hand=([en_GB]=en_GB [en_AU]=en_AU [de_DE]=de [fr_FR]=fr [es_ES]=es [it_IT]=it
  [nl_NL]=nl [pt_BR]=pt_BR [pl_PL]=pl [ru_RU]=ru [da_DK]=da [sv_SE]=sv [fi_FI]=fi [nb_NO]=no
  [pt_PT]=pt_PT)
declare -A text
for pair in de:de_DE es:es_ES nl:nl_NL br:pt_BR pt:pt_PT da:da_DK sv:sv_SE fi:fi_FI nb:nb_NO fr:fr_FR it:it_IT pl:pl_PL ru:ru_RU ko:ko_KR zh:zh_CN; do
  lang=${pair%%:*} code=${pair#*:}
  cut -f1 "$root"/tests/golden/$lang/*.tsv | grep -v '^#' | grep . >"$work/$lang.txt" || true
  text[$code]=$work/$lang.txt
done
printf '%-6s %-18s %-40s %s\n' language stem labels coverage
for info in "$voice"/Model/*/*.info; do
  lang=$(sed -n 's/^language: //p' "$info")
  stem=${info%.info}
  labels=$work/$lang.lab
  if [ ! -f "$labels" ]; then
    sentences=("$@")
    if [ -n "${text[$lang]:-}" ]; then sentences=("${text[$lang]}"); fi
    if cat "${sentences[@]}" | iconv -f UTF-8 -t "${charset[$lang]:-ISO-8859-15}//TRANSLIT" |
      "$build/bench/label_dump" "${ids[$lang]}" "$voice" >"$labels" 2>/dev/null &&
      [ -s "$labels" ]; then
      echo "front end, $(wc -l <"$labels") labels" >"$labels.what"
    else
      cp "$root/tests/data/labels/${hand[$lang]}.lab" "$labels"
      echo "by hand, $(wc -l <"$labels") labels" >"$labels.what"
    fi
  fi
  line=$("$build/bin/vxn-voice" coverage "$stem" "$labels" | sed -n 's/^coverage  //p')
  printf '%-6s %-18s %-40s %s\n' "$lang" "$(basename "$stem")" "$(cat "$labels.what")" "${line%% (*}"
done
