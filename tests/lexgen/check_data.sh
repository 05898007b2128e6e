#!/usr/bin/env bash
# The checked-in pronunciation data of each language were generated from its
# current settings and phone map (the digest recorded in the data matches):
#   check_data.sh VXN_LEXGEN SOURCE_DIR LANG...
set -u
lexgen=$1
src=$2
shift 2
status=0
for lang in "$@"; do
  want=$("$lexgen" --digest --conf "$src/data/$lang/lexicon.conf")
  have=$(sed -n 's/^ *input digest: *//p' "$src/data/$lang/${lang}_lexicon.c")
  if [ "$want" != "$have" ]; then
    echo "data/$lang/${lang}_lexicon.c was made from other settings or another phone map ($have, now $want): run scripts/regen-lexicons.sh $lang"
    status=1
  else
    echo "data/$lang: current ($have)"
  fi
done
exit $status
