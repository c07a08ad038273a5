#!/bin/sh
# Checks an MP3 converted from a WAV file: decoded with a real decoder it
# lasts as long as the WAV, within 2 %, and holds the 440 Hz tone.
# usage: check_converted_tone.sh <wav> <mp3>
set -eu
wav="$1"; mp3="$2"
[ -s "$wav" ] || { echo "missing $wav"; exit 1; }
seconds=$(soxi -D "$wav")
echo "$wav: $seconds s"
exec sh "$(dirname "$0")/check_decoded_tone.sh" "$mp3" \
  "$(awk -v s="$seconds" 'BEGIN { print s * 0.98 }')" "$(awk -v s="$seconds" 'BEGIN { print s * 1.02 }')"
