#!/bin/sh
# Prints the strongest frequency (Hz) of the first channel of a sound file,
# from the bins of sox's power spectrum.
set -eu
sox "$1" -n remix 1 stat -freq 2>&1 | awk 'NF == 2 && $1 + 0 > 0 { if ($2 > best) { best = $2; f = $1 } } END { print f }'
