#!/bin/sh
# Regenerates the seed corpora under fuzz/corpus/ from the reference voice
# that the package targets use. Usage: fuzz/make_corpus.sh BUILD_DIR
set -e
build=${1:?usage: make_corpus.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p /tmp/vxn_empty_corpus
VXN_FUZZ_SEED_DIR=$tmp "$build/fuzz/fuzz_package_am" -runs=0 /tmp/vxn_empty_corpus >/dev/null 2>&1
for t in fuzz_package_tables fuzz_package_am fuzz_package_dt fuzz_label; do
  mkdir -p "$here/corpus/$t"
done
{ printf '\000'; cat "$tmp/ref.qt"; } > "$here/corpus/fuzz_package_tables/qt"
{ printf '\001'; cat "$tmp/ref.pt"; } > "$here/corpus/fuzz_package_tables/pt"
cp "$tmp/ref.am" "$here/corpus/fuzz_package_am/ref"
cp "$tmp/ref.dt" "$here/corpus/fuzz_package_dt/ref"
printf '\000x^a-b+c=d@1_1/A:0 0 500000 y^#-pau+a=b\n' > "$here/corpus/fuzz_label/string"
printf '\001100 200 a^b-#l+c=d\n  e^f-g+h=i\ttoken\n' > "$here/corpus/fuzz_label/stream"
printf '\002x^x-#s+a=b\n0 100 x\nuntimed with blanks\n x\n' > "$here/corpus/fuzz_label/list"
