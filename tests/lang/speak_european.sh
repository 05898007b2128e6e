#!/usr/bin/env bash
# European languages speak end to end as soon as their voice package is in the
# voice directory (a synthetic package here), and a language without one
# fails at initialisation with a message that names the missing package.
#   speak_european.sh VXN_TTS WRITE_TEST_VOICE MODULE_DIR SCRATCH
set -u
tts=$1 writer=$2 modules=$3 dir=$4
rm -rf "$dir"
mkdir -p "$dir/Lib"
for m in "$modules"/libVXN_lang_*.so; do ln -s "$m" "$dir/Lib/"; done
status=0
spoken=""
# language, package (Model/<Dir>/<stem>), text
while IFS='|' read -r lang package text; do
  mkdir -p "$dir/Model/${package%/*}"
  "$writer" "$dir/Model/$package" || exit 1
  if ! "$tts" -d "$dir" -l "$lang" -o "$dir/$lang.wav" "$text" 2>"$dir/$lang.err"; then
    echo "$lang did not speak:"; cat "$dir/$lang.err"; status=1
  fi
  bytes=$(stat -c %s "$dir/$lang.wav" 2>/dev/null || echo 0)
  [ "$bytes" -gt 20000 ] || { echo "$lang wrote $bytes bytes of audio"; status=1; }
  spoken="$spoken $lang:$bytes"
done <<'TEXTS'
de_DE|De/vxnf_ge_24_256|Guten Abend. Um 20:15 Uhr kommen die Nachrichten.
nl_NL|Nl/vxnf_nl_24_256|Goedenavond. Om 20.00 uur begint het NOS Journaal.
pt_BR|Br/vxnf_br_24_256|Boa noite. O Jornal Nacional começa às 20h30.
pt_PT|Pt/vxnf_pt_24_256|Boa noite. O telejornal começa às 20h00.
TEXTS
"$tts" -d "$dir" -l es_ES -o "$dir/es.wav" "Buenas noches." 2>"$dir/es.err"
code=$?
if [ $code != 2 ] || ! grep -q "Model/Es/vxnf_es_24_256" "$dir/es.err"; then
  echo "es_ES without a package: exit $code, message:"; cat "$dir/es.err"; status=1
fi
[ $status = 0 ] && echo "spoke (bytes):$spoken; es_ES without a package: $(head -c 200 "$dir/es.err" | tr '\n' ' ')"
exit $status
