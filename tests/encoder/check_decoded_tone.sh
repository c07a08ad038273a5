#!/bin/sh
# Decodes the MP3 that the encode tests left behind with a real decoder and
# checks that it holds about three seconds of a 440 Hz tone.
set -eu
mp3="$1"
[ -s "$mp3" ] || { echo "missing $mp3"; exit 1; }
wav=$(mktemp --suffix=.wav)
trap 'rm -f "$wav"' EXIT
mpg123 -q -w "$wav" "$mp3"
length=$(sox "$wav" -n stat 2>&1 | awk -F: '/^Length/ {gsub(/ /, "", $2); print $2}')
frequency=$(sh "$(dirname "$0")/../support/dominant_frequency.sh" "$wav")
echo "decoded: $length s, dominant frequency $frequency Hz"
awk -v l="$length" -v f="$frequency" 'BEGIN { exit !(l >= 2.9 && l <= 3.2 && f >= 430 && f <= 450) }'
