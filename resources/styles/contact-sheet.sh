#!/bin/sh
# Contact sheets of the style bitmaps, scaled 3x without smoothing, one
# PNG per style, one for the shared bitmaps and TITLES.png with every
# title bar assembled as drawn:
#   contact-sheet.sh [OUTDIR]   (default: ./style-sheets)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-style-sheets}
mkdir -p "$out/bmp"
python3 "$here/generate.py" "$out/bmp"
for group in MACOS WINXP DEEPBLUE PROTEIN BLUEGLASS SHARED; do
  set --
  while read -r name w h bits; do
    case $group in
      SHARED) case $name in MACOS_MENU_*|MENU_CHECKED|MDI_*|MORE_*) ;; *) continue ;; esac ;;
      *) case $name in ${group}_MENU_*) continue ;; ${group}_*) ;; *) continue ;; esac ;;
    esac
    set -- "$@" \( -background '#707070' -fill white -font DejaVu-Sans -pointsize 12 \
      label:"$name  ${w}x${h} ${bits}-bit" \) \
      \( "$out/bmp/$name.bmp" -scale 300% -bordercolor '#707070' -border 4 \)
  done < "$out/bmp/styles.list"
  convert -background '#707070' "$@" -gravity west -append "$out/$group.png"
done
python3 "$here/title-preview.py" "$out/bmp" "$out/titles.ppm"
convert "$out/titles.ppm" -scale 300% "$out/TITLES.png"
rm -f "$out/titles.ppm"
echo "contact sheets in $out"
