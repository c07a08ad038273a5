#!/bin/sh
# Decodes the MP3 that the encode tests left behind with a real decoder and
# checks that it holds a 440 Hz tone, about three seconds long unless the
# bounds of its length are given.
# usage: check_decoded_tone.sh <mp3> [<least seconds> <most seconds>]
set -eu
mp3="$1"; least="${2:-2.9}"; most="${3:-3.2}"
[ -s "$mp3" ] || { echo "missing $mp3"; exit 1; }
wav=$(mktemp --suffix=.wav)
trap 'rm -f "$wav"' EXIT
mpg123 -q -w "$wav" "$mp3"
length=$(sox "$wav" -n stat 2>&1 | awk -F: '/^Length/ {gsub(/ /, "", $2); print $2}')
frequency=$(sh "$(dirname "$0")/../support/dominant_frequency.sh" "$wav")
echo "decoded: $length s, dominant frequency $frequency Hz"
awk -v l="$length" -v f="$frequency" -v a="$least" -v b="$most" 'BEGIN { exit !(l >= a && l <= b && f >= 430 && f <= 450) }'
