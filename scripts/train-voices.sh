#!/usr/bin/env bash
# Trains voices with `vxn-voice train` (docs/voice-training.md). Long: run it
# under nice; not part of the test suite.
#   scripts/train-voices.sh [ru|en|all] [--quick]
# ru:  Russian voice 1 (male), Model/Ru/vxnm_ru_24_256, from the Debian
#      package festvox-ru (fetched with apt-get download into
#      build/voice-src/, never installed or committed): the labels our
#      Russian module writes for its prompts, timed from its phone
#      alignments (vxn-voice label-corpus into build/corpus/ru_RU; needs the
#      module in build/voice/Lib, scripts/build.sh); about half an hour on
#      two cores.
# en:  the English round trip: build/corpus/en_US (scripts/build-english-corpus.sh,
#      the default voice speaking a few hundred sentences) trained into
#      build/trained/vxnf_usen_trained, measured against the default voice.
# --quick trains on the first 40 utterances with fewer iterations (a smoke
# run of a few minutes). Reports go next to the packages (*.train.txt).
#   BUILD_DIR       build tree (default: build/)
#   VXN_VOICE_TOOL  the vxn-voice program (default: $BUILD_DIR/bin/vxn-voice)
#   VXN_TRAIN_JOBS  threads (default 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
tool=${VXN_VOICE_TOOL:-$build/bin/vxn-voice}
jobs=${VXN_TRAIN_JOBS:-2}
which=${1:-all}
quick=0
[ "${2:-}" = "--quick" ] || [ "${1:-}" = "--quick" ] && quick=1
[ "$which" = "--quick" ] && which=all
if [ ! -x "$tool" ]; then
  echo "train-voices: $tool is missing; build the tools first (scripts/build.sh)" >&2
  exit 1
fi
phones=$root/tools/voicebuild/train/phones

# A corpus directory with only the first 40 utterances (symbolic links).
quick_corpus() {
  local src=$1 dst=$2 labels=$3
  rm -rf "$dst"
  mkdir -p "$dst/etc" "$dst/wav" "$dst/$labels"
  head -n 40 "$src/etc/txt.done.data" > "$dst/etc/txt.done.data"
  sed -n 's/^( *\([^ ]*\) .*/\1/p' "$dst/etc/txt.done.data" | while read -r id; do
    ln -s "$src/wav/$id.wav" "$dst/wav/$id.wav"
    ln -s "$src/$labels/$id.lab" "$dst/$labels/$id.lab"
  done
}

train_ru() {
  local pkg=festvox-ru src=$build/voice-src
  mkdir -p "$src"
  local deb
  deb=$(ls "$src/${pkg}"_*.deb 2>/dev/null | tail -n 1 || true)
  if [ -z "$deb" ]; then
    echo "train-voices: fetching $pkg"
    if ! (cd "$src" && apt-get download "$pkg" >/dev/null 2>"$src/apt-ru.log"); then
      cat "$src/apt-ru.log" >&2
      echo "train-voices: cannot fetch $pkg (apt-get download failed)" >&2
      exit 1
    fi
    deb=$(ls "$src/${pkg}"_*.deb | tail -n 1)
  fi
  local tree=$src/ru corpus=$src/ru/usr/share/festival/voices/russian/msu_ru_nsh_clunits
  if [ ! -f "$corpus/etc/txt.done.data" ] || [ "$deb" -nt "$corpus/etc/txt.done.data" ]; then
    rm -rf "$tree"
    dpkg -x "$deb" "$tree"
    touch "$corpus/etc/txt.done.data"
  fi
  # Our front end's labels for every prompt, timed from the corpus's own
  # phone alignment; utterances whose phones match too poorly are left out.
  if [ ! -f "$build/voice/Lib/libVXN_lang_ru.so" ]; then
    echo "train-voices: $build/voice/Lib/libVXN_lang_ru.so is missing; build it first (scripts/build.sh)" >&2
    exit 1
  fi
  local labelled=$build/corpus/ru_RU
  rm -rf "$labelled"
  echo "train-voices: labelling $corpus with the Russian module into $labelled"
  nice -n 10 "$tool" label-corpus --voice-dir "$build/voice" --lang 12 \
    --phone-map "$phones/ru_RU.festvox-map.txt" "$corpus" "$labelled"
  corpus=$labelled
  local kept
  kept=$(wc -l < "$corpus/etc/txt.done.data")
  local out=$build/voice/Model/Ru stem=vxnm_ru_24_256 args=()
  if [ "$quick" = 1 ]; then
    quick_corpus "$corpus" "$build/corpus/ru_RU.quick" labels
    corpus=$build/corpus/ru_RU.quick
    out=$build/trained
    stem=vxnm_ru_quick
    args=(--mono-iterations 2 --tied-iterations 1)
  fi
  mkdir -p "$out" "$build/corpus/ru_RU.cache"
  local version
  version=$(basename "$deb" | sed 's/^[^_]*_\([^_]*\)_.*/\1/')
  echo "train-voices: training $out/$stem from $corpus"
  nice -n 10 "$tool" train "$corpus" "$out/$stem" --lang ru_RU --index 1 --labels full \
    --phone-classes "$phones/ru_RU.txt" --cache "$build/corpus/ru_RU.cache" --jobs "$jobs" \
    --source "Debian festvox-ru $version (msu_ru_nsh: $kept of its 620 recordings)" \
    --licence "BSD-like licence of festvox-ru (Nickolay V. Shmyrev); full text in $stem.COPYRIGHT" \
    --licence-file "$tree/usr/share/doc/$pkg/copyright" \
    --notes "labels of our Russian module for the prompts, timed from the corpus phone alignments (vxn-voice label-corpus; $stem.labels.txt)" \
    --held-out-labels "$build/corpus/ru_RU.held-out" \
    "${args[@]}"
  cp "$labelled/label-report.txt" "$out/$stem.labels.txt"
}

train_en() {
  "$root/scripts/build-english-corpus.sh"
  local corpus=$build/corpus/en_US out=$build/trained stem=vxnf_usen_trained args=()
  if [ "$quick" = 1 ]; then
    quick_corpus "$corpus" "$build/corpus/en_US.quick" labels
    mkdir -p "$build/corpus/en_US.quick/reference"
    for f in "$corpus"/reference/*; do ln -sf "$f" "$build/corpus/en_US.quick/reference/"; done
    corpus=$build/corpus/en_US.quick
    stem=vxnf_usen_quick
    args=(--mono-iterations 2 --tied-iterations 1)
  fi
  mkdir -p "$out" "$build/corpus/en_US.cache"
  echo "train-voices: training $out/$stem from $corpus"
  nice -n 10 "$tool" train "$corpus" "$out/$stem" --lang en_US --index 0 --labels full \
    --phone-classes "$phones/en_US.txt" --cache "$build/corpus/en_US.cache" --jobs "$jobs" \
    --reference \
    --source "the default voice vxnf_usen_24_256 speaking $(wc -l < "$corpus/etc/txt.done.data") pieces of text" \
    --licence "as the default voice (CMU ARCTIC slt, festvox-us-slt-hts); see vxnf_usen_24_256.COPYRIGHT" \
    "${args[@]}"
}

case "$which" in
  ru) train_ru ;;
  en) train_en ;;
  all) train_en; train_ru ;;
  *) echo "usage: scripts/train-voices.sh [ru|en|all] [--quick]" >&2; exit 2 ;;
esac
