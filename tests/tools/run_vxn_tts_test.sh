#!/usr/bin/env bash
# vxn-tts end to end: streaming WAV on a pipe read by sox, raw PCM, text from
# a file, labels, voice and language lists, and the exit status of each
# failure.   run_vxn_tts_test.sh VXN_TTS VOICE_DIR
set -uo pipefail
tts=$1 voice=$2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vxn-tts.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if ! "$@"; then echo "vxn-tts test: FAILED: $what" >&2; failures=$((failures + 1)); fi
}
export VXN_VOICE_DIR=$voice

"$tts" -o - "Good evening." 2>"$tmp/err" | sox -t wav - "$tmp/pipe.wav" 2>"$tmp/sox.err"
check "sox reads the WAV stream without complaint" test ! -s "$tmp/sox.err"
samples=$(soxi -s "$tmp/pipe.wav")
check "the stream holds speech ($samples samples)" test "$samples" -gt 12000
"$tts" -q -o "$tmp/file.wav" "Good evening."
check "a WAV file gets the same samples with real sizes" test "$(soxi -s "$tmp/file.wav")" = "$samples"
check "--quiet prints nothing" test ! -s "$tmp/err"
bytes=$("$tts" --raw "Good evening." | wc -c)
check "raw PCM is the samples without a header ($bytes bytes)" test "$bytes" = $((2 * samples))
printf 'Good evening.' >"$tmp/text.txt"
bytes=$("$tts" -f "$tmp/text.txt" --raw | wc -c)
check "-f reads the text from a file" test "$bytes" = $((2 * samples))
bytes=$("$tts" -c 2 -r 48000 --raw "Good evening." | wc -c)
check "stereo at 48 kHz is four times the values" test "$bytes" -gt $((7 * samples)) -a "$bytes" -lt $((9 * samples))

"$tts" --print-labels "Hi. Bye." >"$tmp/labels" 2>&1
check "--print-labels prints every piece, a blank line after each" \
  test "$(grep -c '^$' "$tmp/labels")" = 2 -a "$(grep -c -- '-pau+' "$tmp/labels")" -ge 2
check "--list-languages lists the table" test "$("$tts" --list-languages | grep -c '_')" = 18
check "--list-voices shows the imported voice" \
  grep -q '^en_US *0 *female *imported *EnUS/vxnf_usen_24_256' <("$tts" --list-voices)
check "--help names every option" bash -c "
  help=\$('$tts' --help)
  for o in --file --labels --voice-dir --lang --voice --pitch --speed --timbre --output --raw \
           --rate --channels --print-labels --list-languages --list-voices --quiet --verbose \
           --version --help; do grep -q -- \"\$o\" <<<\"\$help\" || { echo missing \$o; exit 1; }; done"

status() { "$@" >/dev/null 2>"$tmp/err"; echo $?; }
check "an unknown option is a usage error" test "$(status "$tts" --bogus)" = 1
check "an unknown language is a usage error" test "$(status "$tts" -l xx_XX hi)" = 1
check "labels and audio both on standard output are refused" \
  test "$(status "$tts" --print-labels -o - hi)" = 1
# A language whose voice the directory lacks (build-voices builds every
# language's voices, so the directory here holds the modules only).
mkdir -p "$tmp/novoice/Model"
cp -r "$voice/Lib" "$tmp/novoice/"
check "a missing voice is status 2" test "$(status "$tts" -d "$tmp/novoice" -l de_DE hi)" = 2
grep -q "cannot load the voice Model/De/vxnf_ge_24_256" "$tmp/err" || check "message names the voice" false
# A voice without its language module: status 2 and a message naming it.
mkdir -p "$tmp/voice/Model" "$tmp/voice/Lib"
cp -r "$voice/Model/EnUS" "$tmp/voice/Model/"
check "a missing language module is status 2" test "$(status "$tts" -d "$tmp/voice" hi)" = 2
grep -q "error \[1060\]" "$tmp/err" && grep -q "language module of en_US is missing" "$tmp/err" ||
  check "the missing module is named" false
check "an unreadable text file is status 3" test "$(status "$tts" -f "$tmp/none.txt")" = 3

if [ "$failures" -gt 0 ]; then echo "vxn-tts test: $failures check(s) failed" >&2; exit 1; fi
echo "vxn-tts test: all checks passed"
