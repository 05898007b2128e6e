#!/usr/bin/env bash
# European languages speak end to end as soon as their voice packages are in
# the voice directory (synthetic packages here), and a language without one
# fails at initialisation with a message that names the missing package.
#   speak_european.sh VXN_TTS WRITE_TEST_VOICE MODULE_DIR SCRATCH
set -u
tts=$1 writer=$2 modules=$3 dir=$4
rm -rf "$dir"
mkdir -p "$dir/Lib"
for m in "$modules"/libVXN_lang_*.so; do ln -s "$m" "$dir/Lib/"; done
status=0
spoken=""
# LANG PACKAGE TEXT: writes the package, speaks the text, checks the audio.
speak() {
  local lang=$1 package=$2 text=$3
  mkdir -p "$dir/Model/$(dirname "$package")"
  "$writer" "$dir/Model/$package" || { status=1; return; }
  if ! "$tts" -d "$dir" -l "$lang" -o "$dir/$lang.wav" "$text" 2>"$dir/$lang.err"; then
    echo "$lang did not speak:"; cat "$dir/$lang.err"; status=1
  fi
  local bytes
  bytes=$(stat -c %s "$dir/$lang.wav" 2>/dev/null || echo 0)
  [ "$bytes" -gt 20000 ] || { echo "$lang wrote $bytes bytes of audio"; status=1; }
  spoken="$spoken$lang $bytes bytes; "
}
speak de_DE De/vxnf_ge_24_256 "Guten Abend. Um 20:15 Uhr kommen die Nachrichten."
speak en_GB EnGB/vxnf_uken_24_256 "Good evening. The news is at 10pm, on BBC One."
speak en_AU EnAU/vxnf_auen_24_256 "G'day. Tickets cost \$49.95 in Sydney, NSW."
speak nl_NL Nl/vxnf_nl_24_256 "Goedenavond. Om 20.00 uur begint het NOS Journaal."
speak pt_BR Br/vxnf_br_24_256 "Boa noite. O Jornal Nacional começa às 20h30."
speak pt_PT Pt/vxnf_pt_24_256 "Boa noite. O telejornal começa às 20h00."
speak fr_FR Fr/vxnf_fr_24_256 "Bonsoir à tous. Le journal de 20h commence, avec les informations de l'après-midi."
speak it_IT It/vxnf_it_24_256 "Buonasera a tutti. Alle 20:30 il telegiornale, con l'Italia e l'Europa."
"$tts" -d "$dir" -l es_ES -o "$dir/es.wav" "Buenas noches." 2>"$dir/es.err"
code=$?
if [ $code != 2 ] || ! grep -q "Model/Es/vxnf_es_24_256" "$dir/es.err"; then
  echo "es_ES without a package: exit $code, message:"; cat "$dir/es.err"; status=1
fi
speak da_DK Dk/vxnf_dk_24_256 "God aften. Nyhederne kl. 20.15 koster 12,50 kr."
speak sv_SE Se/vxnf_se_24_256 "God kväll. Rapport klockan 19.30, pris 25:-."
speak fi_FI Fi/vxnf_fi_24_256 "Hyvää iltaa. Uutiset klo 20.30, hinta 12,50 €."
speak nb_NO No/vxnf_no_24_256 "God kveld. Dagsrevyen kl. 19.00 koster kr 299,-."
# Polish and Russian arrive in UTF-8 and reach their modules in ISO-8859-2 and ISO-8859-5.
speak pl_PL Pl/vxnf_pl_24_256 "Dobry wieczór. O 20:15 wiadomości z kraju, bilety po 12,50 zł."
speak ru_RU Ru/vxnf_ru_24_256 "Добрый вечер. В 20:15 новости, билеты по 100 руб."
[ $status = 0 ] && echo "spoke: $spoken es_ES without a package: $(head -c 200 "$dir/es.err" | tr '\n' ' ')"
exit $status
