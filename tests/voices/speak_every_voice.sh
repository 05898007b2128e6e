#!/usr/bin/env bash
# Walks the language table: every (language, voice index) initialises and
# speaks a sentence of its language through vxn-tts, from text where the
# language has a front end and from labels written by hand in the language's
# phone set otherwise. Each must produce over a second of speech that is not
# silence. Korean and Chinese voices come with their own analyzers and are
# not built here.
#   tests/voices/speak_every_voice.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
tts=$build/bin/vxn-tts
voice=$build/voice/
labels=$root/tests/data/labels
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Without the shared voices only the voices made from the default voice are
# built: US English 0, Korean and Chinese.
slt_only=0
if [ ! -d "$voice/Model/EnGB" ]; then
  echo "speak_every_voice: the shared voices are absent: only the voices made from slt are walked"
  slt_only=1
fi
# language code, voice index, what to speak (text, or @labelfile)
mapfile -t rows < <(grep -v '^#' "$root/tests/data/every_voice.txt")
passed=0
failed=0
for row in "${rows[@]}"; do
  read -r lang index what <<<"$row"
  if [ "$slt_only" = 1 ] && [ "$lang $index" != "en_US 0" ] && [ "$lang" != ko_KR ] &&
    [ "$lang" != zh_CN ]; then
    continue
  fi
  wav=$work/$lang.$index.wav
  if [ "${what:0:1}" = @ ]; then
    out=$("$tts" -d "$voice" -l "$lang" -v "$index" --labels "$labels/${what:1}.lab" -o "$wav" 2>&1)
  else
    out=$("$tts" -d "$voice" -l "$lang" -v "$index" -o "$wav" "$what" 2>&1)
  fi
  status=$?
  seconds=$(sed -n 's/.*(\([0-9.]*\) s at.*/\1/p' <<<"$out" | tail -n 1)
  rms=$(sox "$wav" -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p')
  if [ "$status" = 0 ] && awk -v s="${seconds:-0}" -v r="${rms:-0}" 'BEGIN { exit !(s > 1.0 && r > 0.002) }'; then
    passed=$((passed + 1))
    printf 'ok    %-6s %s  %5.2f s  RMS %s\n' "$lang" "$index" "$seconds" "$rms"
  else
    failed=$((failed + 1))
    printf 'FAIL  %-6s %s  status %s, %s s, RMS %s\n%s\n' "$lang" "$index" "$status" \
      "${seconds:-?}" "${rms:-?}" "$out"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
