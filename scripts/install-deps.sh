#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing).
# VXN_FUZZ=1 adds clang and its fuzzing runtime.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libgtest-dev googletest libbenchmark-dev
  flite1-dev libsptk-dev libsoxr-dev sptk libicu-dev
  unicode-cldr-core
  sox pocketsphinx pocketsphinx-en-us espeak-ng libespeak-ng-dev flite python3
  wamerican
  hunspell-tools
  valgrind
  speech-dispatcher libspeechd-dev libdotconf-dev libexpat1-dev
)
if [ "${VXN_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  echo "install-deps: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
