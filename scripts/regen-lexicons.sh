#!/usr/bin/env bash
# Regenerates the pronunciation data of European modules:
#   scripts/regen-lexicons.sh [--short] LANG...
# For each LANG, data/LANG/lexicon.conf names the Debian word list and the
# running-text corpus (for word frequencies); both are fetched with apt-get
# download into build/lexgen/LANG/ and unpacked there, every word is
# phonemised with espeak-ng (cached in build/lexgen/LANG/oracle.tsv; a full
# German run phonemises 200,000 words, about 20 minutes on an idle core) and
# vxn-lexgen writes data/LANG/LANG_lexicon.c.
# A hunspell dictionary as the word list (wordlist_expand=hunspell) gives
# its stems, the affix forms that occur in the running text and a sample
# of the other forms (unmunch, hunspell-tools);
# wordlist_licence= names the licence when the package's copyright file
# covers several dictionaries.
# --short phonemises 1,500 words and writes build/lexgen/LANG/short_lexicon.c
# instead (the tests use it to check the pipeline, not the data).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
short=0
if [ "${1:-}" = --short ]; then short=1; shift; fi
[ $# -gt 0 ] || { echo "usage: regen-lexicons.sh [--short] LANG..." >&2; exit 1; }
command -v espeak-ng >/dev/null || { echo "regen-lexicons: espeak-ng is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
lexgen=$build/bin/vxn-lexgen
[ -x "$lexgen" ] || cmake --build "$build" --target vxn-lexgen -j 2 >/dev/null
for lang in "$@"; do
  conf=$root/data/$lang/lexicon.conf
  [ -f "$conf" ] || { echo "regen-lexicons: no settings $conf" >&2; exit 1; }
  get() { sed -n "s/^$1=//p" "$conf"; }
  work=$build/lexgen/$lang
  mkdir -p "$work/pkg"
  for pkg in "$(get wordlist_package)" "$(get corpus_package)"; do
    if ! ls "$work/pkg/${pkg}"_*.deb >/dev/null 2>&1; then
      echo "regen-lexicons: fetching $pkg"
      (cd "$work/pkg" && apt-get download "$pkg" 2>/dev/null)
    fi
    dpkg -x "$(ls "$work/pkg/${pkg}"_*.deb | head -1)" "$work/root"
  done
  version() { dpkg-deb -f "$(ls "$work/pkg/$1"_*.deb | head -1)" Version; }
  # The licence a package's copyright file names; for a file that names none
  # (SCOWL's word lists state their terms in prose), the settings' KEY.
  licence() {
    local c=$work/root/usr/share/doc/$1/copyright l
    l=$(get "$2")
    [ -n "$l" ] || l=$(sed -n 's/^License: *//p' "$c" | head -1)
    [ -n "$l" ] || l=$(grep -o 'common-licenses/[A-Za-z0-9.+-]*' "$c" | head -1 | sed 's|common-licenses/||')
    echo "${l:-see /usr/share/doc/$1/copyright}"
  }
  # Running text of the corpus: manual pages without their roff requests and escapes.
  if [ ! -s "$work/corpus.txt" ]; then
    find "$work/root/$(get corpus_dir)" -type f -name '*.gz' -print0 | xargs -0 zcat -f 2>/dev/null |
      grep -v "^[.']" | sed -e 's/\\f[BIRPC]//g' -e 's/\\[(][a-zA-Z]\{2\}//g' -e 's/\\[-e&|^ ]//g' >"$work/corpus.txt"
  fi
  wl=$(get wordlist_package)
  cp=$(get corpus_package)
  words=$work/root/$(get wordlist_file)
  if [ "$(get wordlist_expand)" = hunspell ]; then
    command -v unmunch >/dev/null || { echo "regen-lexicons: unmunch is missing (scripts/install-deps.sh installs hunspell-tools)" >&2; exit 1; }
    # Every stem (the dictionary's base forms: the words people look up),
    # then the other forms that occur in the running text, then an evenly
    # spread sample of the rest up to word_limit.
    if [ ! -s "$work/words.txt" ]; then
      echo "regen-lexicons: expanding the affix forms of $(basename "$words")"
      sed -e '1d' -e 's|/.*||' "$words" >"$work/stems.txt"
      unmunch "$words" "${words%.dic}.aff" 2>/dev/null | sort -u | comm -23 - <(sort -u "$work/stems.txt") >"$work/forms.txt"
      LC_ALL=C.UTF-8 grep -oE '[[:alpha:]]+' "$work/corpus.txt" | LC_ALL=C.UTF-8 sed 's/.*/\L&/' | sort -u |
        comm -12 - "$work/forms.txt" >"$work/corpus_forms.txt"
      comm -23 "$work/forms.txt" "$work/corpus_forms.txt" >"$work/other_forms.txt"
      want=$(( $(get word_limit) - $(wc -l <"$work/stems.txt") - $(wc -l <"$work/corpus_forms.txt") ))
      have=$(wc -l <"$work/other_forms.txt")
      { cat "$work/stems.txt" "$work/corpus_forms.txt"
        [ "$want" -gt 0 ] && awk -v want="$want" -v have="$have" 'int((NR - 1) * want / have) != int(NR * want / have)' "$work/other_forms.txt"
      } >"$work/words.txt"
    fi
    words=$work/words.txt
  fi
  limit=$(get word_limit)
  out=$root/data/$lang/${lang}_lexicon.c
  if [ $short = 1 ]; then
    limit=1500
    out=$work/short_lexicon.c
  fi
  "$lexgen" --conf "$conf" --words "$words" --corpus "$work/corpus.txt" \
    --oracle-cache "$work/oracle.tsv" --out "$out" --limit "${limit:-0}" \
    --words-source "$wl $(version "$wl") (Debian; ${wlicence:-$(licence "$wl" wordlist_licence)})" \
    --corpus-source "$cp $(version "$cp") (Debian; $(licence "$cp" corpus_licence)), word counts only"
done
