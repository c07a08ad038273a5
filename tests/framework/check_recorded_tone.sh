#!/bin/sh
# Checks a WAV file that a recording test left behind: the format the
# header asked for, some sound in it, and the tone the test device played.
# usage: check_recorded_tone.sh <wav> <channels> <rate> <bits>
set -eu
wav="$1"; channels="$2"; rate="$3"; bits="$4"
[ -s "$wav" ] || { echo "missing $wav"; exit 1; }
got="$(soxi -c "$wav") $(soxi -r "$wav") $(soxi -b "$wav")"
seconds=$(soxi -D "$wav")
frequency=$(sh "$(dirname "$0")/../support/dominant_frequency.sh" "$wav")
echo "$wav: channels rate bits = $got, $seconds s, dominant frequency $frequency Hz"
[ "$got" = "$channels $rate $bits" ] || { echo "expected $channels $rate $bits"; exit 1; }
awk -v s="$seconds" -v f="$frequency" 'BEGIN { exit !(s >= 0.5 && f >= 430 && f <= 450) }'
