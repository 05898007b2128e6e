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
[ $status = 0 ] && echo "de_DE spoke $bytes bytes; es_ES without a package: $(head -c 200 "$dir/es.err" | tr '\n' ' ')"
exit $status
