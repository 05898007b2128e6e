#!/usr/bin/env bash
# A European language speaks end to end as soon as its voice package is in the
# voice directory (a synthetic package here), and a language without one
# fails at initialisation with a message that names the missing package.
#   speak_european.sh VXN_TTS WRITE_TEST_VOICE MODULE_DIR SCRATCH
set -u
tts=$1 writer=$2 modules=$3 dir=$4
rm -rf "$dir"
mkdir -p "$dir/Model/De" "$dir/Lib"
"$writer" "$dir/Model/De/vxnf_ge_24_256" || exit 1
for m in "$modules"/libVXN_lang_*.so; do ln -s "$m" "$dir/Lib/"; done
status=0
if ! "$tts" -d "$dir" -l de_DE -o "$dir/de.wav" "Guten Abend. Um 20:15 Uhr kommen die Nachrichten." 2>"$dir/de.err"; then
  echo "de_DE did not speak:"; cat "$dir/de.err"; status=1
fi
bytes=$(stat -c %s "$dir/de.wav" 2>/dev/null || echo 0)
[ "$bytes" -gt 20000 ] || { echo "de_DE wrote $bytes bytes of audio"; status=1; }
"$tts" -d "$dir" -l es_ES -o "$dir/es.wav" "Buenas noches." 2>"$dir/es.err"
code=$?
if [ $code != 2 ] || ! grep -q "Model/Es/vxnf_es_24_256" "$dir/es.err"; then
  echo "es_ES without a package: exit $code, message:"; cat "$dir/es.err"; status=1
fi
# Polish and Russian arrive in UTF-8 and reach their modules in ISO-8859-2 and ISO-8859-5.
spoken=""
while IFS='|' read -r lang sub stem text; do
  mkdir -p "$dir/Model/$sub"
  "$writer" "$dir/Model/$sub/$stem" || exit 1
  if ! "$tts" -d "$dir" -l "$lang" -o "$dir/$lang.wav" "$text" 2>"$dir/$lang.err"; then
    echo "$lang did not speak:"; cat "$dir/$lang.err"; status=1
  fi
  n=$(stat -c %s "$dir/$lang.wav" 2>/dev/null || echo 0)
  [ "$n" -gt 20000 ] || { echo "$lang wrote $n bytes of audio"; status=1; }
  spoken="$spoken $lang $n bytes;"
done <<'LANGS'
pl_PL|Pl|vxnf_pl_24_256|Dobry wieczór. O 20:15 wiadomości z kraju, bilety po 12,50 zł.
ru_RU|Ru|vxnf_ru_24_256|Добрый вечер. В 20:15 новости, билеты по 100 руб.
LANGS
[ $status = 0 ] && echo "de_DE spoke $bytes bytes;$spoken es_ES without a package: $(head -c 200 "$dir/es.err" | tr '\n' ' ')"
exit $status
