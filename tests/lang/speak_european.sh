#!/usr/bin/env bash
# European languages (German, French, Italian) speak end to end as soon as
# their voice package is in the voice directory (a synthetic package here),
# and a language without one fails at initialisation with a message that
# names the missing package.
#   speak_european.sh VXN_TTS WRITE_TEST_VOICE MODULE_DIR SCRATCH
set -u
tts=$1 writer=$2 modules=$3 dir=$4
rm -rf "$dir"
mkdir -p "$dir/Model/De" "$dir/Model/Fr" "$dir/Model/It" "$dir/Lib"
"$writer" "$dir/Model/De/vxnf_ge_24_256" || exit 1
"$writer" "$dir/Model/Fr/vxnf_fr_24_256" || exit 1
"$writer" "$dir/Model/It/vxnf_it_24_256" || exit 1
for m in "$modules"/libVXN_lang_*.so; do ln -s "$m" "$dir/Lib/"; done
status=0
spoken=""
speak() {  # LANG TEXT
  if ! "$tts" -d "$dir" -l "$1" -o "$dir/$1.wav" "$2" 2>"$dir/$1.err"; then
    echo "$1 did not speak:"; cat "$dir/$1.err"; status=1
  fi
  local bytes
  bytes=$(stat -c %s "$dir/$1.wav" 2>/dev/null || echo 0)
  [ "$bytes" -gt 20000 ] || { echo "$1 wrote $bytes bytes of audio"; status=1; }
  spoken="$spoken$1 spoke $bytes bytes; "
}
speak de_DE "Guten Abend. Um 20:15 Uhr kommen die Nachrichten."
speak fr_FR "Bonsoir à tous. Le journal de 20h commence, avec les informations de l'après-midi."
speak it_IT "Buonasera a tutti. Alle 20:30 il telegiornale, con l'Italia e l'Europa."
"$tts" -d "$dir" -l es_ES -o "$dir/es.wav" "Buenas noches." 2>"$dir/es.err"
code=$?
if [ $code != 2 ] || ! grep -q "Model/Es/vxnf_es_24_256" "$dir/es.err"; then
  echo "es_ES without a package: exit $code, message:"; cat "$dir/es.err"; status=1
fi
[ $status = 0 ] && echo "${spoken}es_ES without a package: $(head -c 200 "$dir/es.err" | tr '\n' ' ')"
exit $status
