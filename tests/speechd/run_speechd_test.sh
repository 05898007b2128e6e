#!/usr/bin/env bash
# Starts a private speech-dispatcher with only the vxn module configured, in a
# temporary directory (its own configuration, socket, logs and home), and
# runs spd_client against it. No audio device is needed: the server's ALSA
# output goes to the "file" plugin over the "null" device, so the speech
# that comes out is a file the client can measure.
#   run_speechd_test.sh SD_VXN SPD_CLIENT VXN_TTS VOICE_DIR
set -euo pipefail
module=$1 client=$2 tts=$3 voice=$4
if ! command -v speech-dispatcher >/dev/null; then
  echo "speechd test: speech-dispatcher is not installed (scripts/install-deps.sh)" >&2
  exit 1
fi
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vxn-speechd.XXXXXX")
server=""
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
mkdir -p "$tmp/conf/modules" "$tmp/home" "$tmp/log" "$tmp/run"
cat >"$tmp/conf/speechd.conf" <<CONF
LogLevel 4
LogDir "$tmp/log"
AudioOutputMethod "alsa"
AddModule "vxn" "$module" "$tmp/conf/modules/vxn.conf"
DefaultModule vxn
DefaultLanguage "en-US"
CONF
echo "VxnVoiceDir \"$voice\"" >"$tmp/conf/modules/vxn.conf"
cat >"$tmp/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$tmp/audio.raw"
  format "raw"
}
ASOUND

# The speech of the long text when spoken to the end, for comparison.
long="Good evening. Here is the weather for tonight and tomorrow. Clouds will gather over the hills in the west, with rain spreading east after midnight. Tomorrow starts grey and wet, but the rain clears by noon, and the afternoon will be bright with a fresh breeze. Temperatures reach fourteen degrees in the south and eleven in the north. The outlook for the weekend is dry and mild, with sunny spells on Saturday and a little cloud on Sunday."
full=$("$tts" -q -d "$voice" --raw "$long" | wc -c)

export HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" XDG_CONFIG_HOME="$tmp/home/.config"
export SPEECHD_ADDRESS="unix_socket:$tmp/speechd.sock"
speech-dispatcher -s -t 0 -C "$tmp/conf" -S "$tmp/speechd.sock" -P "$tmp/speechd.pid" \
  -L "$tmp/log" >"$tmp/log/server.out" 2>&1 &
server=$!
for _ in $(seq 100); do
  [ -S "$tmp/speechd.sock" ] && break
  sleep 0.1
done
status=0
"$client" "$tmp/audio.raw" "$full" || status=$?
if [ "$status" != 0 ]; then
  echo "speechd test: failed; server log:" >&2
  tail -n 40 "$tmp/log/speech-dispatcher.log" >&2 || true
  grep -h "sd_vxn" "$tmp/log/"*.log >&2 || true
fi
exit "$status"
