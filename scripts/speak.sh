#!/usr/bin/env bash
# Sets everything up and speaks TEXT into OUT.wav with the default voice:
#   scripts/speak.sh "TEXT" OUT.wav
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
text=${1:-"Good evening. Here are the news."}
out=${2:-speech.wav}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
"$root/scripts/build-voices.sh"
build=${BUILD_DIR:-$root/build}
"$build/bin/vxn-tts" --voice-dir "$build/voice/" --lang en_US --output "$out" "$text"
