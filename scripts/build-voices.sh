#!/usr/bin/env bash
# Lays out the voice directory build/voice/ (Model/, Lib/, Data/) and builds
# every voice package of the language table, Model/<Dir>/<stem>_24_256.*,
# with a description <stem>.info, the source's licence <stem>.COPYRIGHT and
# the conversion report <stem>.import.txt beside each, then prints the table
# of what the directory holds.
#
# Sources: the US English female voice from the Debian package
# festvox-us-slt-hts (fetched once with apt-get download into
# build/voice-src/, never installed); the open voices in ../shared/voices
# (or $VXN_SHARED_VOICES), read in place. Voices are build outputs, never
# committed. Packages that are up to date are skipped.
#
#   scripts/build-voices.sh [--only STEM[,STEM...]] [--jobs N]
#     --only   build only these stems (e.g. vxnf_usen,vxnm_usen); default all
#     --jobs   packages built at once (default: nproc)
#   Trained voices (Russian voice 1 from festvox-ru) are built by the
#   separate, long scripts/train-voices.sh; a trained package in a row's
#   place is kept (remove it to rebuild the converted voice).
#   BUILD_DIR       build tree (default: build/)
#   VXN_VOICE_TOOL  the vxn-voice program (default: $BUILD_DIR/bin/vxn-voice)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
voice=$build/voice
shared=${VXN_SHARED_VOICES:-$root/../shared/voices}
maps=$root/docs/phone-maps
only=""
jobs=$(nproc)
while [ $# -gt 0 ]; do
  case "$1" in
    --only) only=",$2,"; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "usage: build-voices.sh [--only STEM[,STEM...]] [--jobs N]" >&2; exit 2 ;;
  esac
done
mkdir -p "$voice/Model" "$voice/Lib" "$voice/Data"
echo "build-voices: voice directory $voice"
. "$root/scripts/lib/progress.sh"

tool=${VXN_VOICE_TOOL:-$build/bin/vxn-voice}
if [ ! -x "$tool" ]; then
  echo "build-voices: $tool is missing; build the tools first (scripts/build.sh)" >&2
  exit 1
fi

wanted() { [ -z "$only" ] || [[ "$only" == *",$1,"* ]]; }

# ---- the Debian voice -------------------------------------------------------
pkg=festvox-us-slt-hts
src=$build/voice-src
slt=$src/slt/usr/share/festival/voices/us/cmu_us_slt_arctic_hts/hts/cmu_us_slt_arctic_hts.htsvoice
fetch_slt() {
  mkdir -p "$src"
  deb=$(ls "$src/${pkg}"_*.deb 2>/dev/null | tail -n 1 || true)
  if [ -z "$deb" ]; then
    echo "build-voices: fetching $pkg"
    # apt-get download writes into the current directory.
    if ! (cd "$src" && apt-get download "$pkg" >/dev/null 2>"$src/apt.log"); then
      cat "$src/apt.log" >&2
      echo "build-voices: cannot fetch $pkg (apt-get download failed)" >&2
      exit 1
    fi
    deb=$(ls "$src/${pkg}"_*.deb | tail -n 1)
  fi
  if [ ! -f "$slt" ] || [ "$deb" -nt "$slt" ]; then
    rm -rf "$src/slt"
    dpkg -x "$deb" "$src/slt"
    touch "$slt"
  fi
}

# ---- the voice table --------------------------------------------------------
# language  index  dir  stem  kind  source  labels  phone-map:donor-set  derive  donor-stem
#   [target]
# source: slt, or a folder of the shared voices (a voice directory or a
# voice.data / .htsvoice file inside it). target: the label form the package
# is asked about, when the language's analyzer writes its own (ko, zh);
# the engine's (hts) otherwise.
table=$(cat <<'EOF'
en_US 0 EnUS vxnf_usen imported slt                    hts    -              -      -
en_US 1 EnUS vxnm_usen imported en-US-bdl-rhv          rhv-en -              -      -
en_GB 0 EnGB vxnf_uken imported en-GB-cstr-uk-female   hts    en_GB:radio    -      -
en_GB 1 EnGB vxnm_uken derived  en-GB-cstr-uk-female   hts    en_GB:radio    male   vxnf_uken
en_AU 0 EnAU vxnf_auen converted en-GB-cstr-uk-female  hts    en_AU:radio    -      vxnf_uken
en_AU 1 EnAU vxnm_auen derived  en-GB-cstr-uk-female   hts    en_AU:radio    male   vxnf_auen
de_DE 0 De   vxnf_ge   converted en-GB-cstr-uk-female  hts    de:radio       -      vxnf_uken
de_DE 1 De   vxnm_ge   converted en-US-bdl-rhv         rhv-en de:radio       -      vxnm_usen
fr_FR 0 Fr   vxnf_fr   converted pl-alicja-rhv         rhv-pl fr:pl          -      vxnf_pl
fr_FR 1 Fr   vxnm_fr   converted pl-natan-rhv          rhv-pl fr:pl          -      vxnm_pl
es_ES 0 Es   vxnf_es   imported es-cstr-upc-upm        hts    es:es          -      -
es_ES 1 Es   vxnm_es   derived  es-cstr-upc-upm        hts    es:es          male   vxnf_es
it_IT 0 It   vxnf_it   converted es-cstr-upc-upm       hts    it:es          -      vxnf_es
it_IT 1 It   vxnm_it   converted pl-natan-rhv          rhv-pl it:pl          -      vxnm_pl
nl_NL 0 Nl   vxnf_nl   converted en-GB-cstr-uk-female  hts    nl:radio       -      vxnf_uken
nl_NL 1 Nl   vxnm_nl   converted en-US-bdl-rhv         rhv-en nl:radio       -      vxnm_usen
pt_BR 0 Br   vxnf_br   converted pl-alicja-rhv         rhv-pl pt_BR:pl       -      vxnf_pl
pt_BR 1 Br   vxnm_br   converted pl-natan-rhv          rhv-pl pt_BR:pl       -      vxnm_pl
pl_PL 0 Pl   vxnf_pl   imported pl-alicja-rhv          rhv-pl pl:pl          -      -
pl_PL 1 Pl   vxnm_pl   imported pl-natan-rhv           rhv-pl pl:pl          -      -
ru_RU 0 Ru   vxnf_ru   converted pl-alicja-rhv         rhv-pl ru:pl          -      vxnf_pl
ru_RU 1 Ru   vxnm_ru   converted pl-natan-rhv          rhv-pl ru:pl          -      vxnm_pl
da_DK 0 Dk   vxnf_dk   converted en-GB-cstr-uk-female  hts    da:radio       -      vxnf_uken
da_DK 1 Dk   vxnm_dk   converted en-US-bdl-rhv         rhv-en da:radio       -      vxnm_usen
sv_SE 0 Se   vxnf_se   converted en-GB-cstr-uk-female  hts    sv:radio       -      vxnf_uken
sv_SE 1 Se   vxnm_se   converted en-US-bdl-rhv         rhv-en sv:radio       -      vxnm_usen
fi_FI 0 Fi   vxnf_fi   converted es-cstr-upc-upm       hts    fi:es          -      vxnf_es
fi_FI 1 Fi   vxnm_fi   converted pl-natan-rhv          rhv-pl fi:pl          -      vxnm_pl
nb_NO 0 No   vxnf_no   converted en-GB-cstr-uk-female  hts    no:radio       -      vxnf_uken
nb_NO 1 No   vxnm_no   converted en-US-bdl-rhv         rhv-en no:radio       -      vxnm_usen
pt_PT 0 Pt   vxnf_pt   converted pl-alicja-rhv         rhv-pl pt_PT:pl       -      vxnf_pl
pt_PT 1 Pt   vxnm_pt   converted pl-natan-rhv          rhv-pl pt_PT:pl       -      vxnm_pl
ko_KR 0 Ko   vxnf_kr   converted slt                   hts    ko:radio       -      vxnf_usen  ko
ko_KR 1 Ko   vxnm_kr   derived  slt                    hts    ko:radio       male   vxnf_kr    ko
zh_CN 0 Ch   vxnf_ch   converted slt                   hts    zh:radio       -      vxnf_usen  zh
zh_CN 1 Ch   vxnm_ch   derived  slt                    hts    zh:radio       male   vxnf_ch    zh
EOF
)

# What each source is: the import arguments, a one-line description and a
# one-line licence; licence_file copies the full text to the given path.
source_args() {
  case "$1" in
    # Formants enhanced by 0.4: the variant that the ASR A/B test
    # (bench/voice_ab.sh, docs/voice-quality.md) found most intelligible.
    slt) echo "$slt --formant-enhance 0.4" ;;
    en-GB-cstr-uk-female) echo "$shared/$1 --rate 48000 --alpha 0.55" ;;
    es-cstr-upc-upm) echo "$shared/$1/cstr_upc_upm_spanish_hts.htsvoice" ;;
    *) echo "$shared/$1/24000/voice.data" ;;
  esac
}
source_text() {
  case "$1" in
    slt) echo "Debian $pkg $(dpkg-deb -f "$(ls "$src/${pkg}"_*.deb | tail -n 1)" Version) (CMU ARCTIC slt HMM voice), converted by vxn-voice import-hts" ;;
    en-US-bdl-rhv) echo "CMU ARCTIC bdl HMM voice (24 kHz, 7-band aperiodicity), shared/voices/$1" ;;
    en-GB-cstr-uk-female) echo "CSTR UK English female HTS voice 1.0 (University of Edinburgh, 48 kHz), shared/voices/$1" ;;
    es-cstr-upc-upm) echo "CSTR/UPC/UPM Castilian Spanish HTS voice (16 kHz), shared/voices/$1" ;;
    pl-alicja-rhv) echo "Polish female HMM voice Alicja (24 kHz), shared/voices/$1" ;;
    pl-natan-rhv) echo "Polish male HMM voice Natan (24 kHz), shared/voices/$1" ;;
  esac
}
licence_text() {
  case "$1" in
    slt) echo "EST-2003, EST-2000 and BSD-3-clause (Carnegie Mellon University, Nagoya Institute of Technology), see COPYRIGHT" ;;
    en-US-bdl-rhv) echo "CMU ARCTIC terms (permissive, attribution); to be confirmed before shipping" ;;
    en-GB-cstr-uk-female) echo "BSD-3-Clause (University of Edinburgh 2012), see COPYRIGHT" ;;
    es-cstr-upc-upm) echo "BSD-3-Clause as stated by its distributor; licence text to be obtained before shipping" ;;
    pl-alicja-rhv) echo "CC BY 4.0 (attribution required: speaker Magdalena Marciniszyn, see COPYRIGHT)" ;;
    pl-natan-rhv) echo "CC0 1.0 (public domain)" ;;
  esac
}
licence_file() {  # SOURCE DEST
  case "$1" in
    slt) cp "$src/slt/usr/share/doc/$pkg/copyright" "$2" ;;
    en-GB-cstr-uk-female) cat "$shared/$1/README" "$shared/$1/COPYRIGHT" >"$2" ;;
    pl-alicja-rhv) cat "$shared/$1/README.md" "$shared/$1/attrib.html" >"$2" ;;
    pl-natan-rhv) cat "$shared/$1/README.md" "$shared/$1/LICENSE" >"$2" ;;
    *) { echo "$(source_text "$1")"; echo; echo "Licence: $(licence_text "$1")"; } >"$2" ;;
  esac
}

# Builds one row of the table; prints one line; returns non-zero on failure.
build_one() {
  local lang=$1 index=$2 dir=$3 stem=$4 kind=$5 source=$6 labels=$7 map=$8 derive=$9
  local donor=${10} target=${11:-hts}
  local out=$voice/Model/$dir file=$stem"_24_256"
  local base=$out/$file log=$out/$file.import.txt
  local args
  args=$(source_args "$source")
  local input=${args%% *}
  if [ ! -e "$input" ]; then
    echo "build-voices: $file skipped: its source $input is absent"
    return 0
  fi
  local opts=(--labels "$labels" --target "$target")
  if [ "$map" != "-" ]; then opts+=(--phone-map "$maps/${map%%:*}.md" --donor "${map##*:}"); fi
  if [ "$derive" != "-" ]; then opts+=(--derive "$derive"); fi
  # Every voice as loud as the default one (its level: 68.4 dB).
  if [ "$source" != slt ] || [ "$derive" != "-" ]; then opts+=(--level-db 68.4); fi
  # A voice trained here (scripts/train-voices.sh) stands in this row's
  # place: keep it; remove it to get the converted one back.
  if grep -qx 'kind: trained' "$base.info" 2>/dev/null; then
    echo "build-voices: $file is a trained voice; kept"
    return 0
  fi
  local up_to_date=1 ext
  for ext in qt pt am dt info; do
    local f=$base.$ext
    if [ ! -f "$f" ] || [ "$input" -nt "$f" ] || [ "$tool" -nt "$f" ] || [ "$0" -nt "$f" ]; then up_to_date=0; fi
    if [ "$map" != "-" ] && [ "$maps/${map%%:*}.md" -nt "$f" ]; then up_to_date=0; fi
  done
  if [ "$up_to_date" = 1 ]; then
    echo "build-voices: $file is up to date"
    return 0
  fi
  mkdir -p "$out"
  # Half-written packages never look up to date: remove them first.
  rm -f "$base".{qt,pt,am,dt,info}
  # shellcheck disable=SC2086
  if ! "$tool" import-hts $args --lang-dir "$dir" --stem "$file" --out "$voice" "${opts[@]}" \
      >"$log" 2>"$log.err"; then
    cat "$log" "$log.err" >&2
    rm -f "$base".{qt,pt,am,dt}
    echo "build-voices: $file: import failed" >&2
    return 1
  fi
  rm -f "$log.err"
  licence_file "$source" "$base.COPYRIGHT"
  local notes="" what
  what=$(source_text "$source")
  case "$kind" in
    converted) notes="the donor's speaker speaking $lang through the phone map docs/phone-maps/${map%%:*}.md" ;;
    derived) notes="derived speaker: another vocal-tract length and pitch register than $donor, not a recorded voice" ;;
  esac
  if [ "$lang" = ru_RU ] && [ "$index" = 1 ]; then
    notes="$notes; stands in until a voice trained on Russian speech replaces it"
  fi
  {
    echo "language: $lang"
    echo "index: $index"
    echo "stem: $file"
    echo "kind: $kind"
    echo "source: $what"
    echo "licence: $(licence_text "$source")"
    if [ "$donor" != "-" ]; then echo "donor: ${donor}_24_256"; fi
    if [ -n "$notes" ]; then echo "notes: $notes"; fi
  } >"$base.info"
  echo "build-voices: wrote $base.{qt,pt,am,dt} ($(grep -c . "$log") report lines in $log)"
}

failed=0
while read -r _ _ _ stem _ source _; do
  if [ "$source" = slt ] && wanted "$stem"; then
    fetch_slt
    break
  fi
done <<<"$table"
total=0
while read -r lang _ _ stem _; do
  if [ -n "$lang" ] && wanted "$stem"; then total=$((total + 1)); fi
done <<<"$table"
running=0
finished=0
one_done() {
  wait -n || failed=1
  running=$((running - 1))
  finished=$((finished + 1))
  vxn_progress "build-voices: packages" "$finished" "$total"
}
while read -r lang index dir stem kind source labels map derive donor target; do
  [ -n "$lang" ] || continue
  wanted "$stem" || continue
  build_one "$lang" "$index" "$dir" "$stem" "$kind" "$source" "$labels" "$map" "$derive" "$donor" \
    "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then one_done; fi
done <<<"$table"
while [ "$running" -gt 0 ]; do one_done; done
vxn_progress_end

# The table of what the voice directory holds.
printf '\n%-6s %-5s %-16s %-30s %-60s %s\n' language index stem kind source licence
for info in "$voice"/Model/*/*.info; do
  [ -f "$info" ] || continue
  get() { sed -n "s/^$1: //p" "$info" | head -n 1; }
  kind=$(get kind)
  case "$kind" in
    converted | derived) kind="$kind from $(get donor)" ;;
  esac
  printf '%-6s %-5s %-16s %-30s %-60.60s %s\n' "$(get language)" "$(get index)" "$(get stem)" \
    "$kind" "$(get source)" "$(get licence)"
done
if [ "$failed" != 0 ]; then
  echo "build-voices: some packages failed (see above)" >&2
  exit 1
fi
