#!/usr/bin/env bash
# Lays out the default voice directory build/voice/ (Model/, Lib/, Data/).
# Voices are build outputs, never committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
voice=$build/voice
mkdir -p "$voice/Model" "$voice/Lib" "$voice/Data"
echo "build-voices: voice directory $voice"
